// The store command's row: ACTION and its arguments, checked for their number here.
#include <CLI/CLI.hpp>
#include <memory>

#include "host/store/StoreCommands.h"

namespace host {
namespace {

struct StoreWords {
  std::string action;
  StoreOptions options;
};

Result<StoreOptions> readStore(const StoreWords& w) {
  auto action = kStoreActionNames.read("store", w.action);
  if (!action) return action.failure();
  StoreOptions s = w.options;
  s.action = *action;
  const std::size_t n = s.items.size();
  switch (s.action) {
    case StoreAction::show:
      if (n == 0) return s;
      return Failure::usage("store show: takes no arguments");
    case StoreAction::set:
      if (n > 0) return s;
      return Failure::usage("store set: give at least one KEY=VALUE or KEY:=JSON");
    case StoreAction::remove:
      if (n > 0) return s;
      return Failure::usage("store delete: give at least one KEY");
    case StoreAction::import:
      if (n == 1) return s;
      return Failure::usage("store import: give one FILE.json, or - for standard input");
  }
  return s;
}

std::function<Result<ReadOptions<StoreOptions>>()> declareStore(CLI::App& sub,
                                                                const DeviceWords& global) {
  auto w = std::make_shared<StoreWords>();
  sub.add_option("ACTION", w->action, "show, set, delete or import")->required();
  sub.add_option("ARGS", w->options.items,
                 "set: KEY=VALUE (amounts as reals, other keys as text) or KEY:=JSON; delete: "
                 "KEY; import: FILE.json or -")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  sub.add_flag("--force", w->options.force, "Replace a suite that does not parse");
  return [w, &global] { return withDevice(global, readStore(*w)); };
}

}  // namespace

std::vector<CommandRow> storeCommands() {
  return {commandRow<StoreOptions>(
      "store", "Show or change the app group's store, written as the host app writes it",
      declareStore, runStoreCommand)};
}

}  // namespace host
