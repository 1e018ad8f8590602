// render: one widget or the control to a picture file, with its layout report when asked.
#pragma once

#include "host/core/HostSession.h"

namespace host {

Outcome runRenderCommand(const HostSession& session);

}  // namespace host
