// placeholder, snapshot and timeline: the provider's answers as JSON; tap: the widget's link.
#include "host/core/OutputFiles.h"
#include "host/requests/EntryJson.h"
#include "host/requests/RequestCommands.h"
#include "host/system/SystemActions.h"

namespace host {

namespace {

// The provider's answer, as JSON: what `answer` asks of the widget in the context of the request.
template <class Answer>
Outcome printAnswer(const HostSession& s, const EntryOptions& o, Answer answer) {
  auto widget = s.widget(o.kind);
  if (!widget) return widget.failure();
  auto family = s.family(**widget, std::nullopt, false);
  if (!family) return family.failure();
  auto ctx = s.context(*family, o.preview);
  return writeStandardOutput(answer(**widget, ctx).dump(2) + "\n");
}

}  // namespace

Outcome runPlaceholderCommand(const HostSession& s, const EntryOptions& o) {
  return printAnswer(s, o, [](const auto& w, const auto& ctx) {
    return nlohmann::ordered_json(entryJson(w.placeholder(ctx)));
  });
}

Outcome runSnapshotEntryCommand(const HostSession& s, const EntryOptions& o) {
  return printAnswer(s, o, [](const auto& w, const auto& ctx) {
    return nlohmann::ordered_json(entryJson(w.snapshot(ctx)));
  });
}

Outcome runTimelineCommand(const HostSession& s, const EntryOptions& o) {
  return printAnswer(s, o, [](const auto& w, const auto& ctx) {
    return nlohmann::ordered_json(timelineJson(w.timeline(ctx)));
  });
}

Outcome runTapCommand(const HostSession& s, const TapOptions& o) {
  auto widget = s.widget(o.kind);
  if (!widget) return widget.failure();
  auto family = s.family(**widget, o.family, false);
  if (!family) return family.failure();
  auto link =
      tapLink(**widget, *family, entryFor(s.device, **widget, *family, EntryChoice::timeline));
  if (!link) return Failure::runtime("tap: " + o.kind + " opens nothing in this state");
  return writeStandardOutput(*link + "\n");
}

}  // namespace host
