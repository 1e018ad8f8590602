// Which part of the matrix a gallery run draws: named, or taken from a parallel CI job's variables.
#include <gtest/gtest.h>

#include <map>

#include "host/gallery/GalleryCommands.h"

namespace host {
namespace {

Result<Shard> shard(const std::string& word, std::map<std::string, std::string> env = {}) {
  return shardFor(word, [&env](const char* name) -> const char* {
    auto it = env.find(name);
    return it == env.end() ? nullptr : it->second.c_str();
  });
}

TEST(GalleryRow, AutoTakesThePartThisCIJobIs) {
  auto is = [](const Result<Shard>& s, int k, int n) {
    return s && s->index == k && s->count == n;
  };
  EXPECT_TRUE(is(shard("2/4"), 2, 4));
  EXPECT_TRUE(is(shard("auto"), 1, 1));  // not split
  EXPECT_TRUE(is(shard("auto", {{"CI_NODE_INDEX", "4"}, {"CI_NODE_TOTAL", "4"}}), 4, 4));
  EXPECT_TRUE(is(shard("auto", {{"CIRCLE_NODE_INDEX", "0"}, {"CIRCLE_NODE_TOTAL", "2"}}), 1, 2));
  EXPECT_TRUE(
      is(shard("auto", {{"BUILDKITE_PARALLEL_JOB", "2"}, {"BUILDKITE_PARALLEL_JOB_COUNT", "3"}}), 3,
         3));
  // One variable of a pair alone is not a split.
  EXPECT_TRUE(is(shard("auto", {{"CI_NODE_INDEX", "2"}}), 1, 1));
  const std::map<std::string, std::string> wrong[] = {
      {{"CI_NODE_INDEX", "0"}, {"CI_NODE_TOTAL", "4"}},
      {{"CI_NODE_INDEX", "5"}, {"CI_NODE_TOTAL", "4"}},
      {{"CIRCLE_NODE_INDEX", "2"}, {"CIRCLE_NODE_TOTAL", "2"}},
      {{"CI_NODE_INDEX", "1x"}, {"CI_NODE_TOTAL", "4"}},
      {{"CI_NODE_INDEX", ""}, {"CI_NODE_TOTAL", ""}},
      {{"CI_NODE_INDEX", "1"}, {"CI_NODE_TOTAL", "99999999999"}}};
  for (const auto& env : wrong) {
    auto s = shard("auto", env);
    ASSERT_FALSE(s) << env.begin()->second;
    EXPECT_EQ(s.failure().status, ExitStatus::usage);
  }
  for (const char* word : {"", "0/2", "3/2", "1/2/3", "Auto", "1/ 2"})
    EXPECT_FALSE(shard(word)) << word;
}

}  // namespace
}  // namespace host
