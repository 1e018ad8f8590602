// Small UTF-8 / UTF-16 helpers shared by the property-list and string-table readers. Pure
// functions, thread-safe.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace foundation::unicode {

constexpr char32_t replacementCharacter = 0xFFFD;

inline bool isHighSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
inline bool isLowSurrogate(char32_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}
inline bool isSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDFFF;
}

// Appends the UTF-8 form of a scalar value. Surrogates and values above U+10FFFF are written as
// U+FFFD, so the output is always valid UTF-8.
void appendUtf8(std::string& out, char32_t c);

// Appends UTF-16 code units (already in host order) as UTF-8, pairing surrogates. A surrogate
// without its partner becomes U+FFFD: std::string holds UTF-8 and cannot carry it.
class Utf16Appender {
 public:
  explicit Utf16Appender(std::string& out) : out_(out) {}
  ~Utf16Appender() { finish(); }
  void add(char16_t unit);
  // Writes a pending high surrogate (as U+FFFD).
  void finish();

 private:
  std::string& out_;
  char16_t pendingHigh_ = 0;
};

// True when text is well-formed UTF-8 (no overlongs, surrogates or values above U+10FFFF).
bool isValidUtf8(std::string_view text);

// Decodes one UTF-8 scalar at text[pos], advancing pos. Nothing is decoded (returns false) at a
// malformed sequence.
bool decodeUtf8(std::string_view text, std::size_t& pos, char32_t& out);

}  // namespace foundation::unicode
