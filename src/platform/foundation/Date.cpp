#include "platform/foundation/Date.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <regex>

#include "platform/foundation/Clock.h"

namespace foundation {
namespace {

class SystemClock final : public Clock {
 public:
  Date now() const override {
    using namespace std::chrono;
    auto us = duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
    return Date{static_cast<double>(us) / 1e6};
  }
};

}  // namespace

// H. Hinnant's algorithms.
long long daysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void civilFromDays(long long z, long long& y, unsigned& m, unsigned& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += m <= 2;
}

std::shared_ptr<const Clock> systemClock() {
  static const auto clock = std::make_shared<const SystemClock>();
  return clock;
}

std::string iso8601(Date date) {
  // Far beyond any calendar anyone reads (about 273 million years); not worth a wrong digit.
  constexpr double kLimit = 8.64e15;
  double seconds = date.secondsSince1970;
  if (std::isnan(seconds)) return "invalid";
  if (seconds >= kLimit) return "+overflow";
  if (seconds <= -kLimit) return "-overflow";
  long long totalMs = static_cast<long long>(std::floor(seconds * 1000.0 + 1e-6));
  long long days = totalMs >= 0 ? totalMs / 86400000 : -((-totalMs + 86399999) / 86400000);
  long long msOfDay = totalMs - days * 86400000;
  long long y;
  unsigned m, d;
  civilFromDays(days, y, m, d);
  char buf[80];
  const char* format = y >= 0 && y <= 9999 ? "%04lld-%02u-%02uT%02lld:%02lld:%02lld.%03lldZ"
                                           : "%+07lld-%02u-%02uT%02lld:%02lld:%02lld.%03lldZ";
  std::snprintf(buf, sizeof buf, format, y, m, d, msOfDay / 3600000, msOfDay / 60000 % 60,
                msOfDay / 1000 % 60, msOfDay % 1000);
  return buf;
}

std::optional<Date> parseIso8601(const std::string& text) {
  static const std::regex pattern(
      R"((\d{4})-(\d{2})-(\d{2})[T ](\d{2}):(\d{2})(?::(\d{2})(?:[.,](\d{1,9}))?)?)"
      R"((Z|[+-]\d{2}(?::?\d{2})?))");
  std::smatch mt;
  if (!std::regex_match(text, mt, pattern)) return std::nullopt;
  auto num = [&](int i) { return mt[i].matched ? std::stoll(mt[i].str()) : 0LL; };
  long long y = num(1), mo = num(2), d = num(3), h = num(4), mi = num(5), s = num(6);
  if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 60) return std::nullopt;
  // Reject days past the month's end by a round trip.
  long long days = daysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d));
  long long ry;
  unsigned rm, rd;
  civilFromDays(days, ry, rm, rd);
  if (ry != y || rm != mo || rd != d) return std::nullopt;
  double fraction = 0;
  if (mt[7].matched) fraction = std::stod("0." + mt[7].str());
  long long offset = 0;
  std::string zone = mt[8].str();
  if (zone != "Z") {
    int sign = zone[0] == '-' ? -1 : 1;
    std::string digits;
    for (char c : zone.substr(1))
      if (c != ':') digits += c;
    long long oh = std::stoll(digits.substr(0, 2));
    long long om = digits.size() > 2 ? std::stoll(digits.substr(2, 2)) : 0;
    if (oh > 23 || om > 59) return std::nullopt;
    offset = sign * (oh * 3600 + om * 60);
  }
  double seconds = static_cast<double>(days * 86400 + h * 3600 + mi * 60 + s - offset) + fraction;
  return Date{seconds};
}

}  // namespace foundation
