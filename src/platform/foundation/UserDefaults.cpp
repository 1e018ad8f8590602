// The read-only suite store. The coercions of the two accessors copy NSUserDefaults and
// CoreFoundation: numbers as their plain decimal text, strings to doubles through the C-locale
// prefix conversion of CFStringGetDoubleValue.
#include "platform/foundation/UserDefaults.h"

#include <locale.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "platform/foundation/Unicode.h"

namespace foundation {
namespace {

// A double the way %.17g lays it out (fixed unless the exponent is below -4 or at least 17) but
// with the fewest digits that read back to the same value, so 0.1 gives "0.1" and
// 1700000000000.0 gives "1700000000000".
std::string realText(double value) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
  if (ec != std::errc()) return "0";
  std::string_view sci(buf, static_cast<std::size_t>(end - buf));
  if (sci == "inf" || sci == "-inf" || sci == "nan" || sci == "-nan") return std::string(sci);
  std::string sign;
  if (sci.front() == '-') {
    sign = "-";
    sci.remove_prefix(1);
  }
  std::size_t e = sci.find('e');
  std::string digits;
  for (char c : sci.substr(0, e)) {
    if (c != '.') digits.push_back(c);
  }
  int exponent = 0;
  std::from_chars(sci.data() + e + 1 + (sci[e + 1] == '+'), sci.data() + sci.size(), exponent);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  if (exponent < -4 || exponent >= 17) {
    std::string out = sign + digits.substr(0, 1);
    if (digits.size() > 1) out += "." + digits.substr(1);
    char exp[16];
    std::snprintf(exp, sizeof exp, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return out + exp;
  }
  if (exponent < 0) {
    return sign + "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  }
  std::size_t intDigits = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= intDigits)
    return sign + digits + std::string(intDigits - digits.size(), '0');
  return sign + digits.substr(0, intDigits) + "." + digits.substr(intDigits);
}

// The white space CFStringGetDoubleValue skips: ASCII blanks and Unicode spaces and newlines.
std::size_t whiteSpaceLength(std::string_view s, std::size_t pos) {
  char c = s[pos];
  if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r') return 1;
  if (static_cast<unsigned char>(c) < 0x80) return 0;
  std::size_t next = pos;
  char32_t u;
  if (!unicode::decodeUtf8(s, next, u)) return 0;
  bool space = u == 0x85 || u == 0xA0 || u == 0x1680 || (u >= 0x2000 && u <= 0x200A) ||
               u == 0x2028 || u == 0x2029 || u == 0x202F || u == 0x205F || u == 0x3000;
  return space ? next - pos : 0;
}

// Built once, thread-safely, and never changed.
locale_t cLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return c;
}

double textToDouble(std::string_view s) {
  std::size_t pos = 0;
  while (pos < s.size()) {
    std::size_t n = whiteSpaceLength(s, pos);
    if (n == 0) break;
    pos += n;
  }
  std::string prefix;
  for (; pos < s.size(); ++pos) {
    char c = s[pos];
    bool allowed =
        (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E';
    if (!allowed) break;
    prefix.push_back(c);
  }
  if (prefix.empty()) return 0;
  char* end = nullptr;
  locale_t c = cLocale();
  double value = c ? strtod_l(prefix.c_str(), &end, c) : std::strtod(prefix.c_str(), &end);
  return end == prefix.c_str() ? 0 : value;
}

// The host app may rewrite the file in place while it is read, and a read that spans two
// rewrites can join the start of one version to the end of another, which may still parse. So a
// reading counts only when the next reading gives the same bytes; a file that never settles
// reads as unreadable.
std::optional<std::string> readSettled(const os::FileSystem& fileSystem, const std::string& path) {
  constexpr int kAttempts = 4;
  auto previous = fileSystem.readFile(path, UserDefaults::maxFileBytes);
  for (int i = 0; i < kAttempts && previous; ++i) {
    auto again = fileSystem.readFile(path, UserDefaults::maxFileBytes);
    if (again == previous) return previous;
    previous = std::move(again);
  }
  return std::nullopt;
}

}  // namespace

std::optional<UserDefaults> UserDefaults::open(const os::FileSystem& fileSystem,
                                               const std::string& containerPath,
                                               const std::string& suiteName) {
  if (fileSystem.kind(containerPath) != os::FileKind::directory) return std::nullopt;
  // A suite name is one file name: nothing that could leave the preferences directory.
  if (!os::isSingleFileName(suiteName)) return UserDefaults(PlistDictionary{});
  auto bytes =
      readSettled(fileSystem, containerPath + "/Library/Preferences/" + suiteName + ".plist");
  if (!bytes) return UserDefaults(PlistDictionary{});
  auto list = readPropertyList(*bytes);
  if (!list) return UserDefaults(PlistDictionary{});
  auto* dict = std::get_if<PlistDictionary>(&list->value);
  if (!dict) return UserDefaults(PlistDictionary{});
  return UserDefaults(std::move(*dict));
}

std::optional<std::string> UserDefaults::stringForKey(std::string_view key) const {
  auto it = values_.find(key);
  if (it == values_.end()) return std::nullopt;
  const auto& v = it->second.value;
  if (const auto* s = std::get_if<std::string>(&v)) return *s;
  if (const auto* b = std::get_if<bool>(&v)) return std::string(*b ? "1" : "0");
  if (const auto* i = std::get_if<PlistInteger>(&v)) {
    return i->isUnsignedAboveInt64 ? std::to_string(static_cast<std::uint64_t>(i->value))
                                   : std::to_string(i->value);
  }
  if (const auto* d = std::get_if<double>(&v)) return realText(*d);
  return std::nullopt;
}

double UserDefaults::doubleForKey(std::string_view key) const {
  auto it = values_.find(key);
  if (it == values_.end()) return 0;
  const auto& v = it->second.value;
  if (const auto* d = std::get_if<double>(&v)) return *d;
  if (const auto* i = std::get_if<PlistInteger>(&v)) {
    return i->isUnsignedAboveInt64 ? static_cast<double>(static_cast<std::uint64_t>(i->value))
                                   : static_cast<double>(i->value);
  }
  if (const auto* b = std::get_if<bool>(&v)) return *b ? 1 : 0;
  if (const auto* s = std::get_if<std::string>(&v)) return textToDouble(*s);
  return 0;
}

}  // namespace foundation
