// The store family of commands: show, set, delete and import the app group's suite the way the
// host app writes it (StoreOptions says which). Exit statuses as for every command; writing
// needs a container named by --container or $TAMSA_APP_GROUP_CONTAINER, never the shipped sample.
#pragma once

#include <string>
#include <vector>

#include "host/core/CommandLine.h"
#include "host/core/HostSession.h"
#include "host/core/Names.h"
#include "host/core/Result.h"

namespace host {

// What `store` does with the suite; `remove` is the command word "delete".
enum class StoreAction { show, set, remove, import };

inline constexpr Names<StoreAction, 4> kStoreActionNames{{{StoreAction::show, "show"},
                                                          {StoreAction::set, "set"},
                                                          {StoreAction::remove, "delete"},
                                                          {StoreAction::import, "import"}}};

struct StoreOptions {
  StoreAction action = StoreAction::show;
  // set: KEY=VALUE or KEY:=JSON; delete: keys; import: one file, "-" for standard input. Read by
  // the store command, which knows the keys and their types.
  std::vector<std::string> items;
  bool force = false;  // replace a suite that does not parse
};

std::vector<CommandRow> storeCommands();

Outcome runStoreCommand(const HostSession& session, const StoreOptions& options);

}  // namespace host
