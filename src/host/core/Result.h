// The host reports failure with the result type of the layers beneath it.
#pragma once

#include "base/Result.h"

namespace host {

using base::Done;
using base::ExitStatus;
using base::Failure;
using base::Outcome;
using base::Result;

}  // namespace host
