// A manifest's font entry is read back only when every field is there with its type.
#include "host/snapshot/FontCensus.h"

#include <gtest/gtest.h>

namespace host {
namespace {

TEST(FontFile, ReadsBackWhatItWroteAndNothingWithAFieldMissingOrMistyped) {
  const FontFile inter{"Inter Bold", "/fonts/Inter.ttf", "4.000", 1234, "ab12"};
  EXPECT_EQ(FontFile::fromJson(inter.toJson()), inter);
  for (const char* field : {"faces", "path", "version", "sha256", "size"}) {
    nlohmann::json without = inter.toJson();
    without.erase(field);
    EXPECT_EQ(FontFile::fromJson(without), std::nullopt) << field;
    nlohmann::json mistyped = inter.toJson();
    mistyped[field] = field == std::string("size") ? nlohmann::json("1234") : nlohmann::json(4);
    EXPECT_EQ(FontFile::fromJson(mistyped), std::nullopt) << field;
  }
}

}  // namespace
}  // namespace host
