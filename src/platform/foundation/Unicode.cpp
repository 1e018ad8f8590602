// UTF-8 encoding and validation by the rules of RFC 3629.
#include "platform/foundation/Unicode.h"

namespace foundation::unicode {

void appendUtf8(std::string& out, char32_t c) {
  if (isSurrogate(c) || c > 0x10FFFF) c = replacementCharacter;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

void Utf16Appender::add(char16_t unit) {
  if (pendingHigh_ != 0) {
    if (isLowSurrogate(unit)) {
      char32_t c = 0x10000 + ((static_cast<char32_t>(pendingHigh_) - 0xD800) << 10) +
                   (static_cast<char32_t>(unit) - 0xDC00);
      pendingHigh_ = 0;
      appendUtf8(out_, c);
      return;
    }
    appendUtf8(out_, replacementCharacter);
    pendingHigh_ = 0;
  }
  if (isHighSurrogate(unit)) {
    pendingHigh_ = unit;
  } else {
    appendUtf8(out_, unit);  // a lone low surrogate comes out as U+FFFD
  }
}

void Utf16Appender::finish() {
  if (pendingHigh_ != 0) appendUtf8(out_, replacementCharacter);
  pendingHigh_ = 0;
}

bool decodeUtf8(std::string_view text, std::size_t& pos, char32_t& out) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  if (pos >= text.size()) return false;
  unsigned char b0 = byte(pos);
  if (b0 < 0x80) {
    out = b0;
    ++pos;
    return true;
  }
  std::size_t length;
  char32_t c;
  char32_t minimum;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2, c = b0 & 0x1F, minimum = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3, c = b0 & 0x0F, minimum = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4, c = b0 & 0x07, minimum = 0x10000;
  } else {
    return false;
  }
  if (text.size() - pos < length) return false;
  for (std::size_t i = 1; i < length; ++i) {
    unsigned char b = byte(pos + i);
    if ((b & 0xC0) != 0x80) return false;
    c = (c << 6) | (b & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || isSurrogate(c)) return false;
  out = c;
  pos += length;
  return true;
}

bool isValidUtf8(std::string_view text) {
  std::size_t pos = 0;
  char32_t c;
  while (pos < text.size()) {
    // Fast path for ASCII runs.
    if (static_cast<unsigned char>(text[pos]) < 0x80) {
      ++pos;
      continue;
    }
    if (!decodeUtf8(text, pos, c)) return false;
  }
  return true;
}

}  // namespace foundation::unicode
