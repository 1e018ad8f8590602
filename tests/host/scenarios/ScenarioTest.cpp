// The scenario loader reads a folder it was handed: only plain names become scenarios, a name the
// folder lacks is a usage error listing what it has, and a broken file is named with its fault.
#include "host/scenarios/Scenario.h"

#include <gtest/gtest.h>

#include "platform/os/MemoryFileSystem.h"

namespace host {
namespace {

const std::string kGood =
    R"({"description": "Signed in", "store": {"widget_balance": -1.5}, "device": {"locale": "de_DE"}})";

os::MemoryFileSystem folder() {
  os::MemoryFileSystem files;
  files.addFile("/s/signed-in.json", kGood);
  files.addFile("/s/no-container.json", R"({"description": "none", "store": null})");
  // Names that must never become a gallery's folder, a folder in disguise, and not JSON at all.
  files.addFile("/s/.hidden.json", kGood);
  files.addFile("/s/with space.json", kGood);
  files.addDirectory("/s/folder.json");
  files.addFile("/s/notes.txt", kGood);
  return files;
}

std::string failureOf(const os::FileSystem& files, std::vector<std::string> names) {
  auto loaded = loadScenarios(files, "/s", names);
  return loaded ? "" : loaded.failure().message;
}

TEST(Scenario, AllIsEveryPlainNamedFileOnceAndEachIsReadWithItsDefaults) {
  auto files = folder();
  auto loaded = loadScenarios(files, "/s", {"all", "signed-in"});
  ASSERT_TRUE(loaded) << loaded.failure().message;
  ASSERT_EQ(loaded->size(), 2u);
  EXPECT_EQ((*loaded)[0].name, "no-container");
  EXPECT_FALSE((*loaded)[0].suite) << "null store: no container";
  EXPECT_EQ((*loaded)[0].settings.locale, "en_US");
  EXPECT_EQ((*loaded)[1].settings.locale, "de_DE");
  EXPECT_TRUE((*loaded)[1].suite && (*loaded)[1].suite->starts_with("bplist"));
}

TEST(Scenario, RefusesHostileNamesMissingFilesAndBrokenOnes) {
  auto files = folder();
  for (const char* name : {"../s/signed-in", ".hidden", "with space", "folder", "absent"}) {
    auto loaded = loadScenarios(files, "/s", {name});
    ASSERT_FALSE(loaded) << name;
    EXPECT_EQ(loaded.failure().status, ExitStatus::usage);
    EXPECT_NE(loaded.failure().message.find("(scenarios: no-container, signed-in)"),
              std::string::npos)
        << loaded.failure().message;
  }
  EXPECT_EQ(loadScenarios(files, "/nowhere", {"all"}).failure(),
            Failure::usage("--scenarios: '/nowhere' is not a folder"));
  const std::pair<std::string, std::string> broken[] = {
      {"[1]", "a scenario is a JSON object"},
      {R"({"description": )", "/s/big.json"},
      {R"({"description": "x", "store": {}, "device": {"time-zone": "Mars"}})",
       "device.time-zone: 'Mars'"},
      {R"({"description": "x"})", "\"store\" is missing"},
      {R"({"description": "x", "store": {}, "extra": 1})", "unknown field \"extra\""},
      {R"({"description": "x", "store": {}, "device": {"colour": "red"}})", "no setting"},
      {R"({"description": "x", "store": {"k": null}})", "k"},
      {std::string(1 << 20, ' ') + "{}", "cannot read /s/big.json"},
  };
  for (const auto& [text, fault] : broken) {
    files.addFile("/s/big.json", text);
    auto message = failureOf(files, {"big"});
    EXPECT_NE(message.find(fault), std::string::npos) << message;
    EXPECT_NE(message.find("/s/big.json"), std::string::npos) << message;
  }
}

}  // namespace
}  // namespace host
