// The store family of commands: show, set, delete and import the app group's suite the way the
// host app writes it (StoreOptions says which). Exit statuses as for every command; writing
// needs a container named by --container or $TAMSA_APP_GROUP_CONTAINER, never the shipped sample.
#pragma once

#include "host/core/HostSession.h"
#include "host/core/Result.h"

namespace host {

Outcome runStoreCommand(const HostSession& session);

}  // namespace host
