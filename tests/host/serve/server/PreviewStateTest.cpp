// The preview page's state, in-process: the settings chosen on the page decide what the next home
// screen shows, and in phone mode a widget keeps its timeline until the phone would ask again.
#include "host/serve/server/PreviewState.h"

#include <gtest/gtest.h>

#include "entry/bundle/TamsaWidgetBundle.h"
#include "support/TestDevice.h"

namespace host {
namespace {

using nlohmann::json;

constexpr const char* kTitle = "widget_add_transaction_title";

struct Preview {
  device::Device device = testing_support::TestDevice{}
                              .withTable("en", {{kTitle, "Add Transaction"}})
                              .withTable("de", {{kTitle, "Transaktion hinzufügen"}})
                              .device();
  DeviceOptions asked;
  widgetkit::WidgetBundleBody body = [](const device::Device& d) {
    return tamsa::TamsaWidgetBundle{}.body(d);
  };
  HostSession session{asked, device, body(device).declared(), body, {}, [](const Warning&) {}};
  std::vector<Scenario> scenarios = {
      {"older",
       "An older phone",
       std::nullopt,
       {.now = foundation::Date{1700000000}, .systemVersion = os::SystemVersion{17, 0, 0}}}};
  PreviewState state{session,
                     {.device = *hostDevice(defaultDeviceName), .scale = 1},
                     scenarios,
                     foundation::Date{1767258000}};

  // The quick-add widget's small tile of the current screen.
  json quickAdd() {
    const json screen = state.screen();
    for (const auto& tile : screen["tiles"])
      if (tile["kind"] == "TamsaAddTransactionWidget" && tile["family"] == "small") return tile;
    return nullptr;
  }
};

TEST(PreviewState, TheChosenLanguageIsTheOneDrawn) {
  Preview p;
  EXPECT_EQ(p.state.describe()["settings"]["os"], "18.0.0");  // the device's own
  EXPECT_EQ(p.quickAdd()["texts"], json::array({"+", "Add Transaction"}));
  ASSERT_TRUE(p.state.change({{"language", "de"}}));
  EXPECT_EQ(p.quickAdd()["texts"], json::array({"+", "Transaktion hinzufügen"}));
}

TEST(PreviewState, APhoneKeepsTimelinesUntilItsLanguageOrSystemChanges) {
  Preview p;
  ASSERT_TRUE(p.state.change({{"mode", "phone"}}));
  EXPECT_TRUE(p.quickAdd()["askedNow"]);
  // Only colours change: the kept timeline ("never" reloads) is shown again.
  ASSERT_TRUE(p.state.change({{"appearance", "dark"}}));
  EXPECT_FALSE(p.quickAdd()["askedNow"]);
  for (const json& change :
       {json{{"language", "de"}}, json{{"os", "17.0"}}, json{{"device", "iphonese"}}}) {
    ASSERT_TRUE(p.state.change(change)) << change;
    EXPECT_TRUE(p.quickAdd()["askedNow"]) << change;
    p.state.filesChanged();  // the store changed, but the app asked for nothing
    EXPECT_FALSE(p.quickAdd()["askedNow"]) << change;
    p.state.reloadTimelines();
    EXPECT_TRUE(p.quickAdd()["askedNow"]) << "after a reload, " << change;
  }
}

TEST(PreviewState, ANamedStateBringsItsOwnMomentAndSystem) {
  Preview p;
  ASSERT_TRUE(p.state.change({{"scenario", "older"}}));
  const json now = p.state.describe();
  EXPECT_EQ(now["settings"]["os"], "17.0.0");
  EXPECT_EQ(now["clock"], "2023-11-14T22:13:20.000Z");
}

// A tinted home screen in the person's tint: widgets toned, the control in its own colours, and a
// system without the look says so on each widget's tile.
TEST(PreviewState, TheHomeScreensLookAndTintAreTheOnesDrawn) {
  Preview p;
  ASSERT_TRUE(p.state.change({{"appearance", "tinted"}, {"tint", "#30d158"}}));
  EXPECT_EQ(p.state.describe()["settings"]["tint"], "#30D158");
  const json screen = p.state.screen();
  EXPECT_EQ(screen["appearance"], "tinted");
  for (const auto& tile : screen["tiles"]) EXPECT_FALSE(tile.contains("error")) << tile;
  ASSERT_TRUE(p.state.change({{"os", "17.4"}}));
  EXPECT_EQ(p.quickAdd()["error"], "iOS 17.4.0 has no tinted home screen (from iOS 18)");
}

TEST(PreviewState, AWordNotOfferedChangesNothing) {
  Preview p;
  const json before = p.state.describe()["settings"];
  for (const json& change :
       {json{{"appearance", "dark"}, {"language", "xx"}}, json{{"os", "banana"}},
        json{{"device", "Nokia"}}, json{{"colour", "red"}}, json{{"language", 3}},
        json{{"appearance", "tinted"}, {"tint", "#30D15"}}, json{{"tint", "#30D15G"}},
        json::array()}) {
    auto r = p.state.change(change);
    ASSERT_FALSE(r) << change;
    EXPECT_EQ(r.failure().status, ExitStatus::usage) << change;
    EXPECT_EQ(p.state.describe()["settings"], before) << change;
  }
}

}  // namespace
}  // namespace host
