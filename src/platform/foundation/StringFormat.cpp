#include "platform/foundation/StringFormat.h"

namespace foundation {

std::string formatWithStringArgument(std::string_view format, std::string_view argument) {
  std::string out;
  out.reserve(format.size() + argument.size());
  for (std::size_t i = 0; i < format.size();) {
    if (format[i] != '%') {
      out += format[i++];
      continue;
    }
    std::string_view rest = format.substr(i);
    if (rest.starts_with("%%")) {
      out += '%';
      i += 2;
    } else if (rest.starts_with("%@")) {
      out += argument;
      i += 2;
    } else if (rest.starts_with("%1$@")) {
      out += argument;
      i += 4;
    } else {
      out += '%';
      ++i;
    }
  }
  return out;
}

}  // namespace foundation
