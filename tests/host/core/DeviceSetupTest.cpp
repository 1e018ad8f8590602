#include "host/core/DeviceSetup.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

namespace host {
namespace {

TEST(DeviceSetup, AnEnvironmentLocaleTheSystemCannotUseFallsBackToEnUS) {
  const std::vector<std::pair<std::map<std::string, std::string>, std::string>> cases = {
      {{}, "en_US"},
      {{{"LANG", "de_DE.UTF-8"}}, "de_DE"},
      {{{"LANG", "de_DE.UTF-8"}, {"LC_TIME", "fr_FR@euro"}}, "fr_FR"},
      {{{"LANG", "C.UTF-8"}}, "en_US"},
      {{{"LANG", "abcdefghijkl"}}, "en_US"},
      {{{"LC_TIME", "1234567890123"}}, "en_US"},
  };
  for (const auto& [env, expected] : cases) {
    auto getenv = [&env = env](const char* name) -> const char* {
      auto it = env.find(name);
      return it == env.end() ? nullptr : it->second.c_str();
    };
    EXPECT_EQ(localeFromEnvironment(getenv), expected) << (env.empty() ? "" : env.begin()->second);
  }
}

// The machine's zone when it names one; UTC when the system cannot tell (TZ set but empty).
TEST(DeviceSetup, TheMachinesTimeZoneOrUtc) {
  const char* was = std::getenv("TZ");
  const std::string saved = was ? was : "";
  auto zoneWith = [](const char* tz) {
    setenv("TZ", tz, 1);
    auto device = makeDevice({}, [](const char*) { return nullptr; },
                             {TAMSA_RESOURCES_DIR, TAMSA_SAMPLE_CONTAINER, ""});
    return device ? device->timeZoneIdentifier : device.failure().message;
  };
  EXPECT_EQ(zoneWith("Asia/Tokyo"), "Asia/Tokyo");
  EXPECT_EQ(zoneWith(""), "UTC");
  EXPECT_EQ(zoneWith("Garbage/Nowhere"), "UTC");
  was ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
}

}  // namespace
}  // namespace host
