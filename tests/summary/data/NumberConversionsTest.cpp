#include "summary/data/NumberConversions.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tamsa {
namespace {

TEST(IntegerFromText, SignedDecimalDigitsWithinRangeOnly) {
  EXPECT_EQ(integerFromText("+007"), 7);
  EXPECT_EQ(integerFromText("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(integerFromText("-9223372036854775808"), INT64_MIN);
  for (std::string_view text : {"", "-", "1.5", " 3", "3 ", "-+1", "0x10", "１",
                                "9223372036854775808", "-9223372036854775809"})
    EXPECT_EQ(integerFromText(text), std::nullopt) << text;
  EXPECT_EQ(integerFromText(std::string_view("1\0", 2)), std::nullopt);
}

TEST(DoubleFromText, WhatStrtodTakesOverTheWholeTextOnly) {
  EXPECT_EQ(doubleFromText("+.5e1"), 5);
  EXPECT_EQ(doubleFromText("-0x10"), -16);
  EXPECT_EQ(doubleFromText("1e400"), INFINITY);
  for (std::string_view text : {"", " 1", "\t1", "\r1", "1 ", "1,5", "."})
    EXPECT_EQ(doubleFromText(text), std::nullopt) << text;
  EXPECT_EQ(doubleFromText(std::string_view("1\0005", 3)), std::nullopt);  // octal 000, then 5
}

}  // namespace
}  // namespace tamsa
