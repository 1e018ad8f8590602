// The deep link into the host application's add-transaction screen, opened by the quick-add
// widget and by the add-transaction control's intent.
#pragma once

#include <string>

#include "shared/AppConfiguration.h"

namespace tamsa {

inline std::string addTransactionURL() {
  return std::string(deepLinkScheme) + "://" + std::string(deepLinkHost) +
         "/addTransactionChatMode";
}

}  // namespace tamsa
