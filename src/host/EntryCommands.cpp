// placeholder, snapshot and timeline: the provider's answers as JSON.
#include <iostream>

#include "host/EntryJson.h"
#include "host/HostSession.h"

namespace host {

int runEntryCommand(const HostSession& s) {
  const auto* widget = s.widget(s.options.kind);
  if (!widget) return usageError(s.notOffered(s.options.kind));
  auto family = widget->families().empty() ? widgetkit::WidgetFamily::systemSmall
                                           : widget->families().front();
  auto ctx = s.context(family, s.options.preview);
  nlohmann::ordered_json out;
  if (s.options.command == "placeholder") {
    out = entryJson(widget->placeholder(ctx));
  } else if (s.options.command == "snapshot") {
    out = entryJson(widget->snapshot(ctx));
  } else {
    out = timelineJson(widget->timeline(ctx));
  }
  std::cout << out.dump(2) << "\n";
  return 0;
}

}  // namespace host
