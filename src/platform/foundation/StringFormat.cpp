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

std::size_t formatConversionLength(std::string_view text, std::size_t at) {
  std::size_t j = at + 1;
  if (j < text.size() && text[j] == '%') return 2;
  // Position ("1$"), flags, width, precision, length, then the conversion character.
  while (j < text.size() &&
         std::string_view("0123456789$#-+ .'").find(text[j]) != std::string_view::npos)
    ++j;
  while (j < text.size() && std::string_view("hlqLzjt").find(text[j]) != std::string_view::npos)
    ++j;
  if (j < text.size()) ++j;
  return j - at;
}

}  // namespace foundation
