#include "platform/foundation/URL.h"

#include <cctype>
#include <cstring>

namespace foundation {

std::optional<URL> URL::string(const std::string& text) {
  auto colon = text.find(':');
  if (text.empty() || colon == std::string::npos || colon == 0) return std::nullopt;
  if (!std::isalpha(static_cast<unsigned char>(text[0]))) return std::nullopt;
  for (std::size_t i = 1; i < colon; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return std::nullopt;
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c <= 0x20 || c >= 0x7f || std::strchr("<>\"{}|\\^`", c)) return std::nullopt;
    if (c == '%' &&
        (i + 2 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i + 1])) ||
         !std::isxdigit(static_cast<unsigned char>(text[i + 2]))))
      return std::nullopt;
  }
  URL url;
  url.text_ = text;
  return url;
}

}  // namespace foundation
