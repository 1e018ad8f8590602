// Text put into the pages the host writes (the gallery's index, the snapshot report): escaped so
// that a name or text from data can never become markup, in an element or a quoted attribute;
// and paths put into links (pages, SARIF logs), percent-encoded.
#pragma once

#include <cctype>
#include <string>
#include <string_view>

#include "base/MarkupText.h"

namespace host {

inline std::string htmlEscape(std::string_view text) {
  return base::escapeMarkup(text);
}

// A file path as a URL path: every byte but letters, digits, "/", ".", "-", "_" and "~"
// percent-encoded, since a name from data may hold '#', '?', '%' or a space.
inline std::string urlPath(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : path) {
    if (std::isalnum(c) || c == '/' || c == '.' || c == '-' || c == '_' || c == '~') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

}  // namespace host
