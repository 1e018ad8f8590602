// The operating system's version, major.minor.patch.
#pragma once

#include <compare>
#include <optional>
#include <string>

namespace os {

enum class Platform { iOS };

struct SystemVersion {
  int major = 0;
  int minor = 0;
  int patch = 0;

  auto operator<=>(const SystemVersion&) const = default;

  // "17", "17.4", "17.4.1"; nothing for anything else (including "unknown").
  static std::optional<SystemVersion> parse(const std::string& text);
  std::string text() const;
};

}  // namespace os
