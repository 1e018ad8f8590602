// The wallet-count and last-update conversions agree with std::from_chars, and the loader turns
// the stored texts into exactly the count and time they convert to.
#include <charconv>
#include <cmath>

#include "FuzzCheck.h"
#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "platform/foundation/Calendar.h"
#include "summary/data/NumberConversions.h"
#include "summary/data/SummaryLoader.h"

namespace tamsa_fuzz {

void fuzzNumberConversions(std::string_view data) {
  // The integer: a single optional "+", then what std::from_chars reads as a whole.
  std::string_view digits =
      data.starts_with('+') && !data.starts_with("+-") ? data.substr(1) : data;
  std::int64_t integer = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), integer);
  const bool whole = ec == std::errc() && end == digits.data() + digits.size();
  FUZZ_CHECK(tamsa::integerFromText(data) == (whole ? std::optional(integer) : std::nullopt));

  // The real: what std::from_chars reads as a whole, it reads alike.
  auto real = tamsa::doubleFromText(data);
  double reference = 0;
  auto [rend, rec] = std::from_chars(data.data(), data.data() + data.size(), reference);
  if (rec == std::errc() && rend == data.data() + data.size())
    FUZZ_CHECK(real && (*real == reference || (std::isnan(*real) && std::isnan(reference))));

  // Through the store and the loader.
  const std::string text = lossyUtf8(data);
  auto entry = tamsa::loadSummaryEntry(memoryDevice(textStore({{"widget_wallet_mode", "multi"},
                                                               {"widget_wallet_count", text},
                                                               {"widget_last_update", text}})));
  FUZZ_CHECK(entry.walletLabel ==
             std::to_string(tamsa::integerFromText(text).value_or(0)) + " wallets");
  std::optional<foundation::Date> lastUpdate;
  if (auto millis = tamsa::doubleFromText(text); millis && *millis > 0) {
    foundation::Date date{*millis / 1000};
    if (foundation::isRepresentableByCalendar(date)) lastUpdate = date;
  }
  FUZZ_CHECK(entry.lastUpdate == lastUpdate);
}

}  // namespace tamsa_fuzz
