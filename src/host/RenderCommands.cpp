// render, tap and gallery: drawing widgets and controls as the home screen and the control
// gallery show them.
#include <iostream>

#include "host/FamilyNames.h"
#include "host/HostSession.h"
#include "platform/swiftui/Layout.h"

namespace host {
namespace {

// The entry a drawing shows: the first of the timeline, or the answer of another request.
widgetkit::AnyTimelineEntry entryFor(const HostSession& s, const widgetkit::WidgetConfiguration& w,
                                     widgetkit::WidgetFamily family, const std::string& which) {
  if (which == "placeholder") return w.placeholder(s.context(family));
  if (which == "snapshot") return w.snapshot(s.context(family));
  if (which == "preview") return w.snapshot(s.context(family, true));
  auto timeline = w.timeline(s.context(family));
  if (timeline.entries.empty()) return w.placeholder(s.context(family));
  return timeline.entries.front();
}

}  // namespace

int runTapCommand(const HostSession& s) {
  const auto* widget = s.widget(s.options.kind);
  if (!widget) return usageError(s.notOffered(s.options.kind));
  auto family = widget->families().empty() ? widgetkit::WidgetFamily::systemSmall
                                           : widget->families().front();
  if (!s.options.family.empty()) family = *familyFromName(s.options.family);
  swiftui::EnvironmentValues env;
  env.widgetFamily = family;
  auto view = widget->content(entryFor(s, *widget, family, "timeline"));
  auto traits = swiftui::inspect(view, env);
  if (!traits.widgetURL) return 1;
  std::cout << *traits.widgetURL << "\n";
  return 0;
}

int runRenderCommand(const HostSession&) {
  return usageError("render: not yet available");
}
int runGalleryCommand(const HostSession&) {
  return usageError("gallery: not yet available");
}

}  // namespace host
