// The rows of the commands that ask the extension something: their options and summaries.
#include <CLI/CLI.hpp>
#include <memory>

#include "host/requests/RequestCommands.h"

namespace host {
namespace {

const char* kWidgetKind = "Widget kind: TamsaWidget or TamsaAddTransactionWidget";

template <class Options>
using Reader = std::function<Result<ReadOptions<Options>>()>;

// KIND, required.
Reader<KindOptions> declareKind(CLI::App& sub, const DeviceWords& global, const char* help) {
  auto o = std::make_shared<KindOptions>();
  sub.add_option("KIND", o->kind, help)->required();
  return [o, &global] { return withDevice(global, *o); };
}

Reader<EntryOptions> declareEntry(CLI::App& sub, const DeviceWords& global) {
  auto o = std::make_shared<EntryOptions>();
  sub.add_option("KIND", o->kind, kWidgetKind)->required();
  return [o, &global] { return withDevice(global, *o); };
}

// KIND is not required of the parser: `snapshot record DIR` and `snapshot verify DIR` stand
// where it would.
Reader<EntryOptions> declareSnapshotEntry(CLI::App& sub, const DeviceWords& global) {
  auto o = std::make_shared<EntryOptions>();
  sub.add_option("KIND", o->kind, kWidgetKind);
  sub.add_flag("--preview", o->preview, "Ask as the widget gallery does");
  return [o, &global]() -> Result<ReadOptions<EntryOptions>> {
    if (o->kind.empty())
      return Failure::usage("snapshot: KIND is required (a widget kind, or record or verify)");
    return withDevice(global, *o);
  };
}

Reader<TapOptions> declareTap(CLI::App& sub, const DeviceWords& global) {
  auto o = std::make_shared<TapOptions>();
  auto family = std::make_shared<std::optional<std::string>>();
  sub.add_option("KIND", o->kind, kWidgetKind)->required();
  sub.add_option("--family", *family,
                 "Widget family: small or medium (default: the first offered)");
  return [o, family, &global]() -> Result<ReadOptions<TapOptions>> {
    auto asked = familyFromWord(*family);
    if (!asked) return asked.failure();
    o->family = *asked;
    return withDevice(global, *o);
  };
}

}  // namespace

std::vector<CommandRow> requestCommands() {
  return {
      commandRow<EntryOptions>("placeholder", "Print the placeholder entry of a widget",
                               declareEntry, runPlaceholderCommand),
      commandRow<EntryOptions>(
          "snapshot",
          "Print the snapshot entry of a widget; or `snapshot record DIR` draws the matrix (as "
          "gallery does) into DIR with a manifest, and `snapshot verify DIR` draws it afresh and "
          "says what changed (exit 3), by meaning first and by pixels second",
          declareSnapshotEntry, runSnapshotEntryCommand),
      commandRow<EntryOptions>("timeline", "Print the timeline of a widget", declareEntry,
                               runTimelineCommand),
      commandRow<TapOptions>("tap", "Print the link a tap on the widget opens (none: exit 1)",
                             declareTap, runTapCommand),
      commandRow<WidgetsOptions>(
          "widgets", "List what the bundle declares on the imitated system",
          [](CLI::App&, const DeviceWords& global) -> Reader<WidgetsOptions> {
            return [&global] { return withDevice(global, WidgetsOptions{}); };
          },
          runWidgetsCommand),
      commandRow<KindOptions>(
          "perform", "Run the control's intent; print the URL it opens",
          [](CLI::App& sub, const DeviceWords& global) {
            return declareKind(sub, global, "Control kind");
          },
          runPerformCommand),
  };
}

}  // namespace host
