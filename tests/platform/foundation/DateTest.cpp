#include "platform/foundation/Date.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/foundation/Calendar.h"

namespace foundation {
namespace {

TEST(Iso8601, WritesUtcWithMillisecondsAndExpandedYears) {
  const std::pair<double, const char*> cases[] = {
      {0, "1970-01-01T00:00:00.000Z"},
      {1700000000.2509, "2023-11-14T22:13:20.250Z"},
      {-0.001, "1969-12-31T23:59:59.999Z"},
      {253402300799.999, "9999-12-31T23:59:59.999Z"},
      {253402300800, "+010000-01-01T00:00:00.000Z"},
      {-62167219200, "0000-01-01T00:00:00.000Z"},
      {-62167219200.001, "-000001-12-31T23:59:59.999Z"},
      {1e16, "+overflow"},
      {-INFINITY, "-overflow"},
      {NAN, "invalid"},
  };
  for (const auto& [seconds, text] : cases) EXPECT_EQ(iso8601(Date{seconds}), text);
}

TEST(ParseIso8601, ReadsZonesAndFractionsAndRejectsWhatIsNotATime) {
  for (const char* text : {"2026-01-01T09:00:00Z", "2026-01-01T10:00:00+01:00",
                           "2026-01-01T04:00:00-0500", "2026-01-01T09:00Z", "2026-01-01 11:00+02"})
    EXPECT_EQ(parseIso8601(text), Date{1767258000}) << text;
  EXPECT_EQ(parseIso8601("2026-01-01T09:00:00.250Z"), Date{1767258000.25});
  EXPECT_EQ(parseIso8601("2024-02-29T23:59:60Z"), Date{1709251200});
  for (const char* text :
       {"", "2026-01-01", "2026-01-01T09:00:00", "2026-02-29T00:00:00Z", "2026-04-31T00:00:00Z",
        "2026-00-01T00:00:00Z", "2026-13-01T00:00:00Z", "2026-01-00T00:00:00Z",
        "2026-01-01T24:00:00Z", "2026-01-01T09:60:00Z", "2026-01-01T09:00:61Z",
        "2026-01-01T09:00:00+24:00", "2026-01-01T09:00:00+01:60", "2026-01-01T09:00:00Zjunk"})
    EXPECT_EQ(parseIso8601(text), std::nullopt) << text;
}

// ICU's Gregorian calendar holds about 5.8 million years either side of 1970.
TEST(Calendar, HoldsOnlyDatesWithinItsRange) {
  for (double seconds : {0.0, -1e9, 1.8e14, -1.8e14})
    EXPECT_TRUE(isRepresentableByCalendar(Date{seconds})) << seconds;
  for (double seconds : {1.9e14, -1.9e14, 1e297, double(INFINITY), double(NAN)})
    EXPECT_FALSE(isRepresentableByCalendar(Date{seconds})) << seconds;
  EXPECT_EQ(Calendar("Europe/Berlin").dateByAdding(CalendarComponent::hour, 3, Date{1711846800}),
            Date{1711857600});  // across the change to summer time: three real hours
}

}  // namespace
}  // namespace foundation
