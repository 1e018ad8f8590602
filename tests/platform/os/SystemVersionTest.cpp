#include "platform/os/SystemVersion.h"

#include <gtest/gtest.h>

namespace os {
namespace {

TEST(SystemVersion, ParsesOneToThreeParts) {
  EXPECT_EQ(SystemVersion::parse("17"), (SystemVersion{17, 0, 0}));
  EXPECT_EQ(SystemVersion::parse("17.4"), (SystemVersion{17, 4, 0}));
  EXPECT_EQ(SystemVersion::parse("17.4.1"), (SystemVersion{17, 4, 1}));
  for (const char* bad : {"", "unknown", "17.", ".4", "17.4.1.2", "17a", "-1", "1 7", "99999"})
    EXPECT_EQ(SystemVersion::parse(bad), std::nullopt) << bad;
}

TEST(SystemVersion, ComparesMajorThenMinorThenPatch) {
  EXPECT_GT((SystemVersion{17, 1, 0}), (SystemVersion{17, 0, 5}));
  EXPECT_LT((SystemVersion{16, 9, 9}), (SystemVersion{17, 0, 0}));
  EXPECT_EQ((SystemVersion{18, 0, 0}), (SystemVersion{18, 0, 0}));
}

}  // namespace
}  // namespace os
