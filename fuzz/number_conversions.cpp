// The wallet-count and last-update conversions. The integer conversion agrees with the standard
// library's own decimal parse; the floating-point one with std::from_chars wherever both read the
// text; and the loader turns the stored texts into exactly the count and time they convert to.
#include <charconv>
#include <cmath>

#include "FuzzCheck.h"
#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "summary/data/NumberConversions.h"
#include "summary/data/SummaryLoader.h"

namespace tamsa_fuzz {
namespace {

// A single optional "+", then what std::from_chars reads as a whole: an optional "-" and digits.
std::optional<std::int64_t> referenceInteger(std::string_view text) {
  if (text.starts_with('+')) {
    text.remove_prefix(1);
    if (text.starts_with('-')) return std::nullopt;
  }
  std::int64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// std::from_chars over the whole text; nothing when it stops early or the value is out of range.
std::optional<double> referenceDouble(std::string_view text) {
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool same(std::optional<double> a, double b) {
  return a && ((std::isnan(*a) && std::isnan(b)) || *a == b);
}

bool onlyNumberCharacters(std::string_view text) {
  for (char c : text) {
    bool ok = (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-';
    if (!ok) return false;
  }
  return true;
}

void checkLoader(const std::string& text) {
  foundation::PlistDictionary store;
  store["widget_wallet_mode"] = foundation::PlistValue{std::string("multi")};
  store["widget_wallet_count"] = foundation::PlistValue{text};
  store["widget_last_update"] = foundation::PlistValue{text};
  auto entry = tamsa::loadSummaryEntry(
      memoryDevice(binaryPlist(foundation::PlistValue{store}), {{"en", englishLabels()}}));
  std::int64_t count = tamsa::integerFromText(text).value_or(0);
  FUZZ_CHECK(entry.walletLabel == std::to_string(count) + " wallets") << describe(entry);
  std::optional<foundation::Date> lastUpdate;
  if (auto millis = tamsa::doubleFromText(text); millis && *millis > 0 && std::isfinite(*millis))
    lastUpdate = foundation::Date{*millis / 1000};
  FUZZ_CHECK(entry.lastUpdate == lastUpdate) << describe(entry) << " from " << printable(text);
}

}  // namespace

void fuzzNumberConversions(std::string_view data) {
  auto integer = tamsa::integerFromText(data);
  auto reference = referenceInteger(data);
  FUZZ_CHECK(integer == reference)
      << printable(data) << " gives " << (integer ? std::to_string(*integer) : "nothing");

  auto real = tamsa::doubleFromText(data);
  unsigned char first = data.empty() ? 0 : static_cast<unsigned char>(data.front());
  if (data.empty() || (first >= 9 && first <= 13) || first == ' ' ||
      data.find('\0') != std::string_view::npos) {
    FUZZ_CHECK(!real) << printable(data) << " gives " << *real;
  }
  if (auto want = referenceDouble(data)) {
    FUZZ_CHECK(same(real, *want)) << printable(data) << " should give " << *want;
  }
  if (real && onlyNumberCharacters(data)) {
    std::string_view unsigned_ = data.starts_with('+') ? data.substr(1) : data;
    double value = 0;
    auto [end, ec] = std::from_chars(unsigned_.data(), unsigned_.data() + unsigned_.size(), value);
    if (ec != std::errc::result_out_of_range) {
      FUZZ_CHECK(ec == std::errc() && end == unsigned_.data() + unsigned_.size() &&
                 same(real, value))
          << printable(data) << " gives " << *real;
    }
  }

  checkLoader(lossyUtf8(data));
}

}  // namespace tamsa_fuzz
