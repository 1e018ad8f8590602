// Text put into markup the program writes (HTML pages, XML configuration): escaped so that a name
// or text from data can never become markup, in an element or a quoted attribute.
#pragma once

#include <string>
#include <string_view>

namespace base {

std::string escapeMarkup(std::string_view text);

}  // namespace base
