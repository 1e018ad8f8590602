// UTF-8 at the edges of each sequence length: the smallest and largest value each lead byte may
// start, and the bytes just past them (overlongs, surrogates, above U+10FFFF, leads that are none).
#include "platform/foundation/Unicode.h"

#include <gtest/gtest.h>

namespace foundation::unicode {
namespace {

TEST(Unicode, Utf8IsValidExactlyWithinEachLeadBytesRange) {
  for (std::string_view valid :
       {"\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xED\x9F\xBF", "\xEE\x80\x80", "\xEF\xBF\xBF",
        "\xF0\x90\x80\x80", "\xF3\xBF\xBF\xBF", "\xF4\x8F\xBF\xBF"})
    EXPECT_TRUE(isValidUtf8(valid)) << testing::PrintToString(valid);
  for (std::string_view invalid : {"\x80", "\xC1\xBF", "\xC2\x7F", "\xE0\x9F\xBF", "\xED\xA0\x80",
                                   "\xF0\x8F\xBF\xBF", "\xF0\x90\x80", "\xF4\x90\x80\x80",
                                   "\xF5\x80\x80\x80", "\xF8\x90\x80\x80", "\x80\x90\x80\x80"})
    EXPECT_FALSE(isValidUtf8(invalid)) << testing::PrintToString(invalid);
}

}  // namespace
}  // namespace foundation::unicode
