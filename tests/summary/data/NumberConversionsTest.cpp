#include "summary/data/NumberConversions.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tamsa {
namespace {

TEST(IntegerFromText, AcceptsSignedDecimalDigitsOnly) {
  EXPECT_EQ(integerFromText("12"), 12);
  EXPECT_EQ(integerFromText("+12"), 12);
  EXPECT_EQ(integerFromText("-2"), -2);
  EXPECT_EQ(integerFromText("007"), 7);
  EXPECT_EQ(integerFromText("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(integerFromText("-9223372036854775808"), INT64_MIN);
}

TEST(IntegerFromText, RejectsEverythingElse) {
  for (std::string_view text :
       {"", "+", "-", "1.5", " 3", "3 ", "five", "1,000", "++1", "-+1", "0x10", "１",
        "9223372036854775808", "-9223372036854775809", "99999999999999999999"}) {
    EXPECT_EQ(integerFromText(text), std::nullopt) << text;
  }
  EXPECT_EQ(integerFromText(std::string_view("1\0", 2)), std::nullopt);
}

TEST(DoubleFromText, TakesWhatStrtodTakesOverTheWholeText) {
  EXPECT_EQ(doubleFromText("1700000000000"), 1700000000000.0);
  EXPECT_EQ(doubleFromText("1.7e12"), 1.7e12);
  EXPECT_EQ(doubleFromText("-5"), -5.0);
  EXPECT_EQ(doubleFromText("+.5"), 0.5);
  EXPECT_EQ(doubleFromText("0x10"), 16.0);
  EXPECT_TRUE(std::isinf(*doubleFromText("inf")));
  EXPECT_TRUE(std::isinf(*doubleFromText("1e400")));
  EXPECT_TRUE(std::isnan(*doubleFromText("nan")));
}

TEST(DoubleFromText, RejectsLeadingBlanksTrailingCharactersAndEmptyText) {
  for (std::string_view text : {"", " 1", "\t1", "\n1", "1 ", "1x", "1,5", "abc", "."}) {
    EXPECT_EQ(doubleFromText(text), std::nullopt) << text;
  }
  EXPECT_EQ(doubleFromText(std::string_view("1\0"
                                            "5",
                                            3)),
            std::nullopt);
}

}  // namespace
}  // namespace tamsa
