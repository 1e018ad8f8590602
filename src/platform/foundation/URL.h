// URL(string:): a text that parses as an absolute URL reference, kept as written.
#pragma once

#include <optional>
#include <string>

namespace foundation {

class URL {
 public:
  // Nothing when the text is not a URL: empty, no valid scheme, characters a URL may not hold
  // (spaces, controls, non-ASCII, "<>\"{}|\\^`") or a "%" not followed by two hex digits.
  static std::optional<URL> string(const std::string& text);

  const std::string& absoluteString() const { return text_; }

  bool operator==(const URL&) const = default;

 private:
  std::string text_;
};

}  // namespace foundation
