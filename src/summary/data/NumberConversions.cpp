#include "summary/data/NumberConversions.h"

#include <locale.h>
#include <clocale>
#include <cstdlib>
#include <limits>
#include <string>

namespace tamsa {

std::optional<std::int64_t> integerFromText(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    int digit = c - '0';
    if (__builtin_mul_overflow(value, 10, &value)) return std::nullopt;
    if (negative ? __builtin_sub_overflow(value, digit, &value)
                 : __builtin_add_overflow(value, digit, &value))
      return std::nullopt;
  }
  return value;
}

std::optional<double> doubleFromText(std::string_view text) {
  if (text.empty()) return std::nullopt;
  unsigned char first = static_cast<unsigned char>(text.front());
  if ((first >= 9 && first <= 13) || first == 32) return std::nullopt;
  // strtod stops at a NUL; a text with one inside has characters strtod never sees.
  if (text.find('\0') != std::string_view::npos) return std::nullopt;
  // The C locale, built once: the device's own locale must not change the decimal point.
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  std::string copy(text);
  char* end = nullptr;
  double value = strtod_l(copy.c_str(), &end, cLocale);
  if (end == copy.c_str() || end != copy.c_str() + copy.size()) return std::nullopt;
  return value;
}

}  // namespace tamsa
