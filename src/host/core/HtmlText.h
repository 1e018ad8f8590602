// Text put into the pages the host writes (the gallery's index, the snapshot report): escaped so
// that a name or text from data can never become markup, in an element or a quoted attribute.
#pragma once

#include "base/MarkupText.h"

namespace host {

inline std::string htmlEscape(std::string_view text) {
  return base::escapeMarkup(text);
}

}  // namespace host
