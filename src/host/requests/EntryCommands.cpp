// placeholder, snapshot and timeline: the provider's answers as JSON; tap: the widget's link.
#include "host/core/OutputFiles.h"
#include "host/requests/EntryJson.h"
#include "host/requests/RequestCommands.h"
#include "host/system/SystemActions.h"

namespace host {

Outcome runEntryCommand(const HostSession& s) {
  auto widget = s.widget(s.options.kind);
  if (!widget) return widget.failure();
  auto family = s.family(**widget, false);
  if (!family) return family.failure();
  auto ctx = s.context(*family, s.options.preview);
  nlohmann::ordered_json out;
  switch (s.options.command) {
    case Command::placeholder:
      out = entryJson((*widget)->placeholder(ctx));
      break;
    case Command::snapshot:
      out = entryJson((*widget)->snapshot(ctx));
      break;
    default:
      out = timelineJson((*widget)->timeline(ctx));
      break;
  }
  return writeStandardOutput(out.dump(2) + "\n");
}

Outcome runTapCommand(const HostSession& s) {
  auto widget = s.widget(s.options.kind);
  if (!widget) return widget.failure();
  auto family = s.family(**widget, false);
  if (!family) return family.failure();
  auto link =
      tapLink(**widget, *family, entryFor(s.device, **widget, *family, EntryChoice::timeline));
  if (!link) return Failure::runtime("tap: " + s.options.kind + " opens nothing in this state");
  return writeStandardOutput(*link + "\n");
}

}  // namespace host
