#include "platform/foundation/URL.h"

#include <gtest/gtest.h>

namespace foundation {
namespace {

TEST(URL, OnlyAnAbsoluteReferenceOfAllowedCharactersIsAURL) {
  for (const char* url : {"tamsaledger://widget", "a+b-c.9:x", "x:%41"})
    EXPECT_EQ(URL::string(url)->absoluteString(), url);
  for (const char* text : {"", ":x", "9a:x", "a_b:x", "widget", "a:b c", "a:<b>", "a:%4", "a:%zz",
                           "a:\x7f", "a:\xc3\xa9"})
    EXPECT_FALSE(URL::string(text)) << text;
}

}  // namespace
}  // namespace foundation
