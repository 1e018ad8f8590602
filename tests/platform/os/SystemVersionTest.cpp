#include "platform/os/SystemVersion.h"

#include <gtest/gtest.h>

namespace os {
namespace {

TEST(SystemVersion, ParsesOneToThreePartsAndComparesInOrder) {
  EXPECT_EQ(SystemVersion::parse("17"), (SystemVersion{17, 0, 0}));
  EXPECT_EQ(SystemVersion::parse("17.4.1"), (SystemVersion{17, 4, 1}));
  for (const char* bad : {"", "unknown", "17.", ".4", "17.4.1.2", "17a", "-1", "1 7", "99999"})
    EXPECT_EQ(SystemVersion::parse(bad), std::nullopt) << bad;
  EXPECT_GT((SystemVersion{17, 1, 0}), (SystemVersion{17, 0, 5}));
  EXPECT_LT((SystemVersion{17, 0, 1}), (SystemVersion{17, 0, 2}));
}

}  // namespace
}  // namespace os
