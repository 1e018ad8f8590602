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
  const std::string& scheme() const { return scheme_; }
  // The host of an authority ("//host/..."), else empty.
  const std::string& host() const { return host_; }
  // What follows the authority up to any query or fragment.
  const std::string& path() const { return path_; }

  bool operator==(const URL&) const = default;

 private:
  std::string text_, scheme_, host_, path_;
};

}  // namespace foundation
