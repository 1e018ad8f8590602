#include "platform/os/SystemVersion.h"

#include <charconv>

namespace os {

std::optional<SystemVersion> SystemVersion::parse(const std::string& text) {
  int parts[3] = {0, 0, 0};
  std::size_t count = 0;
  const char* p = text.data();
  const char* end = text.data() + text.size();
  while (count < 3) {
    if (p == end || *p < '0' || *p > '9') return std::nullopt;
    auto [next, ec] = std::from_chars(p, end, parts[count]);
    if (ec != std::errc() || next - p > 4) return std::nullopt;
    ++count;
    p = next;
    if (p == end) break;
    if (*p != '.') return std::nullopt;
    ++p;
  }
  if (p != end) return std::nullopt;
  return SystemVersion{parts[0], parts[1], parts[2]};
}

std::string SystemVersion::text() const {
  return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch);
}

}  // namespace os
