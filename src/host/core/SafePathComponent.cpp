#include "host/core/SafePathComponent.h"

#include <cstdint>

namespace host {
namespace {

bool isPlainNameCharacter(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '_' || c == '-';
}

std::string hex(std::uint64_t value, int digits) {
  static const char* kDigits = "0123456789abcdef";
  std::string out(static_cast<std::size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, value >>= 4)
    out[static_cast<std::size_t>(i)] = kDigits[value & 15];
  return out;
}

}  // namespace

std::string safePathComponent(const std::string& name) {
  bool plain = !name.empty() && name.size() <= 64 && name.front() != '.';
  for (unsigned char c : name) plain = plain && isPlainNameCharacter(c);
  if (plain) return name;
  std::string out = "_";
  for (std::size_t i = 0; i < name.size() && i < 16; ++i)
    out += hex(static_cast<unsigned char>(name[i]), 2);
  return out + "-" + hex(stableHash(name), 16);
}

std::uint64_t stableHash(std::string_view bytes) {
  std::uint64_t hash = 1469598103934665603ull;
  for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
  return hash;
}

}  // namespace host
