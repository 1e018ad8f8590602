#include "platform/foundation/PseudoLanguage.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <vector>

#include "platform/foundation/StringFormat.h"

namespace foundation {
namespace {

// A text cut into what is shown as written and the format conversions between.
struct Piece {
  std::string_view text;
  bool conversion;
};

std::vector<Piece> pieces(std::string_view text) {
  std::vector<Piece> out;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] != '%') {
      ++i;
      continue;
    }
    std::size_t length = formatConversionLength(text, i);
    if (i > start) out.push_back({text.substr(start, i - start), false});
    out.push_back({text.substr(i, length), true});
    i += length;
    start = i;
  }
  if (start < text.size()) out.push_back({text.substr(start), false});
  return out;
}

std::size_t codePoints(std::string_view text) {
  std::size_t n = 0;
  for (char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

// An accented form of each ASCII letter that still reads as the letter.
constexpr const char* kUpper[26] = {"Å", "Ɓ", "Ç", "Ð", "É", "Ƒ", "Ĝ", "Ĥ", "Î",
                                    "Ĵ", "Ķ", "Ļ", "Ḿ", "Ñ", "Ö", "Þ", "Ǫ", "Ŕ",
                                    "Š", "Ţ", "Û", "Ṽ", "Ŵ", "Ẋ", "Ý", "Ž"};
constexpr const char* kLower[26] = {"å", "ƀ", "ç", "ð", "é", "ƒ", "ĝ", "ĥ", "î",
                                    "ĵ", "ķ", "ļ", "ḿ", "ñ", "ö", "þ", "ǫ", "ŕ",
                                    "š", "ţ", "û", "ṽ", "ŵ", "ẋ", "ý", "ž"};
constexpr const char* kPadding[] = {"one", "two",   "three", "four", "five",
                                    "six", "seven", "eight", "nine", "ten"};

std::string accented(std::string_view text) {
  std::string out;
  std::size_t shown = 0;
  for (const Piece& p : pieces(text)) {
    if (p.conversion) {
      out += p.text;
      continue;
    }
    shown += codePoints(p.text);
    for (char c : p.text) {
      if (c >= 'A' && c <= 'Z')
        out += kUpper[c - 'A'];
      else if (c >= 'a' && c <= 'z')
        out += kLower[c - 'a'];
      else
        out += c;
    }
  }
  // About 40 % more characters, in words, so a line can still break between them.
  std::size_t wanted = (shown * 4 + 9) / 10, added = 0;
  for (std::size_t i = 0; added < wanted; ++i) {
    std::string word = kPadding[i % std::size(kPadding)];
    out += " " + word;
    added += word.size() + (added == 0 ? 0 : 1);
  }
  return "[" + out + "]";
}

std::string doubled(std::string_view text) {
  std::string again;
  for (const Piece& p : pieces(text))
    if (!p.conversion) again += p.text;
  auto first = again.find_first_not_of(' '), last = again.find_last_not_of(' ');
  if (first == std::string::npos) return std::string(text);
  return std::string(text) + " " + again.substr(first, last - first + 1);
}

// Each run shown as written is put in a right-to-left override (U+202E ... U+202C), so English
// reads backwards as a right-to-left script would; conversions stay outside so that the number
// put in their place keeps its order.
std::string rightToLeft(std::string_view text) {
  std::string out;
  for (const Piece& p : pieces(text))
    out += p.conversion ? std::string(p.text) : "\u202E" + std::string(p.text) + "\u202C";
  return out;
}

// A text of signs, digits and spaces only, with no format conversion: nothing in it is translated.
bool isUntranslatable(std::string_view text) {
  for (const Piece& p : pieces(text)) {
    if (p.conversion) return false;
    const auto* bytes = reinterpret_cast<const uint8_t*>(p.text.data());
    const auto length = static_cast<int32_t>(p.text.size());
    for (int32_t i = 0; i < length;) {
      UChar32 c;
      U8_NEXT(bytes, i, length, c);
      if (c < 0 || u_isalpha(c)) return false;
    }
  }
  return true;
}

}  // namespace

std::optional<PseudoLanguage> pseudoLanguageNamed(std::string_view name) {
  std::string tag(name);
  for (char& c : tag) {
    if (c == '_') c = '-';
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (tag == "EN-XA") return PseudoLanguage::accented;
  if (tag == "EN-XL") return PseudoLanguage::doubled;
  if (tag == "AR-XB") return PseudoLanguage::rightToLeft;
  return std::nullopt;
}

std::string pseudoLocalized(std::string_view text, PseudoLanguage language) {
  if (isUntranslatable(text)) return std::string(text);
  switch (language) {
    case PseudoLanguage::accented:
      return accented(text);
    case PseudoLanguage::doubled:
      return doubled(text);
    case PseudoLanguage::rightToLeft:
      return rightToLeft(text);
  }
  return std::string(text);
}

}  // namespace foundation
