// Chooses the reader by the list's first bytes: binary lists start with "bplist", anything else is
// tried as XML. Dates as ISO 8601 text, exactly: a date is split into whole seconds since 2001
// (negative before it) and a decimal fraction, so the text carries the double's decimal value
// digit for digit and reading it back rounds to the same double.
#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/foundation/PropertyList.h"

namespace foundation {
namespace {

constexpr long long kSecondsFrom1970To2001 = 978307200;
// Far past any calendar anyone reads, and well inside what the day arithmetic holds exactly.
constexpr double kTextLimit = 1e15;
// Past this many fraction digits (a date within a few nanoseconds of 2001 at full precision, or
// a hostile file) the text is no help to a reader.
constexpr std::size_t kMaxFractionDigits = 24;
// Expanded years: enough for every date within kTextLimit, few enough not to overflow.
constexpr std::size_t kMaxYearDigits = 10;

bool allZeros(std::string_view digits) {
  return digits.find_first_not_of('0') == std::string_view::npos;
}

// 1 - 0.digits, to as many digits (digits not all zero).
std::string complement(std::string digits) {
  const std::size_t last = digits.find_last_not_of('0');
  for (std::size_t i = 0; i < last; ++i) digits[i] = static_cast<char>('9' - (digits[i] - '0'));
  digits[last] = static_cast<char>('0' + 10 - (digits[last] - '0'));
  return digits;
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// A text cursor for the parser: each step takes what it expects or fails.
struct Cursor {
  std::string_view text;
  std::size_t at = 0;

  bool take(char c) {
    if (at >= text.size() || text[at] != c) return false;
    ++at;
    return true;
  }
  // Exactly n digits.
  bool number(std::size_t n, long long& value) {
    if (text.size() - at < n) return false;
    value = 0;
    for (std::size_t i = 0; i < n; ++i) {
      if (!isDigit(text[at + i])) return false;
      value = value * 10 + (text[at + i] - '0');
    }
    at += n;
    return true;
  }
  std::string_view digits() {
    std::size_t start = at;
    while (at < text.size() && isDigit(text[at])) ++at;
    return text.substr(start, at - start);
  }
};

}  // namespace

std::optional<PlistValue> readPropertyList(std::string_view bytes, Base64 base64) {
  if (bytes.substr(0, 6) == "bplist") return readBinaryPropertyList(bytes);
  return readXmlPropertyList(bytes, base64);
}

std::string base64Text(std::string_view bytes) {
  constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    std::uint32_t n = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
    if (i + 1 < bytes.size())
      n |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
    if (i + 2 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 2]);
    for (std::size_t k = 0; k < 4; ++k)
      out += k <= bytes.size() - i ? kAlphabet[(n >> (18 - 6 * k)) & 63] : '=';
  }
  return out;
}

std::optional<std::string> plistDateText(PlistDate date) {
  const double x = date.secondsSince2001;
  if (!std::isfinite(x) || std::fabs(x) >= kTextLimit || (x == 0 && std::signbit(x)))
    return std::nullopt;
  // The shortest decimal that reads back as x; a tiny x needs a few hundred places.
  char buf[512];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed);
  if (ec != std::errc()) return std::nullopt;
  std::string_view decimal(buf, static_cast<std::size_t>(end - buf));
  const bool negative = decimal.front() == '-';
  if (negative) decimal.remove_prefix(1);
  const std::size_t point = decimal.find('.');
  long long whole = 0;
  std::from_chars(decimal.data(), decimal.data() + std::min(point, decimal.size()), whole);
  std::string fraction(point == std::string_view::npos ? "" : decimal.substr(point + 1));
  if (fraction.size() > kMaxFractionDigits) return std::nullopt;
  if (negative && !allZeros(fraction)) {
    whole = -(whole + 1);
    fraction = complement(fraction);
  } else if (negative) {
    whole = -whole;
  }
  if (fraction.size() < 3) fraction.append(3 - fraction.size(), '0');
  const long long seconds = whole + kSecondsFrom1970To2001;
  const long long days = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
  const long long ofDay = seconds - days * 86400;
  long long y;
  unsigned m, d;
  civilFromDays(days, y, m, d);
  char head[64];
  std::snprintf(head, sizeof head,
                y >= 0 && y <= 9999 ? "%04lld-%02u-%02uT%02lld:%02lld:%02lld."
                                    : "%+07lld-%02u-%02uT%02lld:%02lld:%02lld.",
                y, m, d, ofDay / 3600, ofDay / 60 % 60, ofDay % 60);
  return head + fraction + "Z";
}

std::optional<PlistDate> parsePlistDate(std::string_view text) {
  Cursor c{text};
  long long year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (c.take('+') || c.take('-')) {
    const bool negative = text[0] == '-';
    std::string_view digits = c.digits();
    if (digits.size() < 6 || digits.size() > kMaxYearDigits) return std::nullopt;
    std::from_chars(digits.data(), digits.data() + digits.size(), year);
    if (negative) year = -year;
  } else if (!c.number(4, year)) {
    return std::nullopt;
  }
  if (!c.take('-') || !c.number(2, month) || !c.take('-') || !c.number(2, day)) return std::nullopt;
  if (!(c.take('T') || c.take(' ')) || !c.number(2, hour) || !c.take(':') || !c.number(2, minute))
    return std::nullopt;
  std::string_view fraction;
  if (c.take(':')) {
    if (!c.number(2, second)) return std::nullopt;
    if (c.take('.') || c.take(',')) {
      fraction = c.digits();
      if (fraction.empty()) return std::nullopt;
    }
  }
  long long offset = 0;
  if (!c.take('Z')) {
    const bool negative = c.at < text.size() && text[c.at] == '-';
    if (!(c.take('+') || c.take('-'))) return std::nullopt;
    long long oh = 0, om = 0;
    if (!c.number(2, oh)) return std::nullopt;
    if (c.at < text.size()) {
      c.take(':');
      if (!c.number(2, om)) return std::nullopt;
    }
    if (oh > 23 || om > 59) return std::nullopt;
    offset = (negative ? -1 : 1) * (oh * 3600 + om * 60);
  }
  if (c.at != text.size()) return std::nullopt;
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
    return std::nullopt;
  // Days past the month's end do not come back the same.
  const long long days =
      daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
  long long ry;
  unsigned rm, rd;
  civilFromDays(days, ry, rm, rd);
  if (ry != year || rm != month || rd != day) return std::nullopt;
  const long long whole =
      days * 86400 + hour * 3600 + minute * 60 + second - offset - kSecondsFrom1970To2001;
  // The exact decimal value, whole seconds and fraction, for from_chars to round once.
  std::string decimal;
  if (whole >= 0 || allZeros(fraction))
    decimal = std::to_string(whole) + (fraction.empty() ? "" : "." + std::string(fraction));
  else
    decimal = "-" + std::to_string(-(whole + 1)) + "." + complement(std::string(fraction));
  double value = 0;
  auto [end, ec] = std::from_chars(decimal.data(), decimal.data() + decimal.size(), value);
  if (ec != std::errc() || end != decimal.data() + decimal.size()) return std::nullopt;
  return PlistDate{value};
}

}  // namespace foundation
