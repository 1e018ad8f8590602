#include "drawing/LayoutReport.h"

#include <gtest/gtest.h>

#include "drawing/RenderTesting.h"
#include "host/system/RenderRequest.h"

namespace host {

using namespace drawing;
namespace {

using namespace swiftui;
using nlohmann::json;

using drawing::testing::measurer;

TEST(LayoutReportTest, ListsTheRealMediumWidgetWithFramesFromTheWidgetCorner) {
  device::Device d = drawing::testing::shippedDevice("en", os::SystemVersion{17, 2, 0});
  tamsa::TamsaSummaryEntry entry = tamsa::makeSampleSummaryEntry(*d.clock);
  entry.walletLabel = "Household and travel wallets";
  auto result = renderWidget({.view = tamsa::summaryWidgetContent(d, entry),
                              .family = WidgetFamily::systemMedium,
                              .systemVersion = d.systemVersion,
                              .language = "en"},
                             measurer());
  ASSERT_TRUE(result);
  const json r = layoutReport(result->picture.tree);
  EXPECT_EQ(r["widgetURL"], "tamsaledger://widget");
  json wallet;
  auto find = [&](const json& node, auto& self) -> void {
    if (node.value("string", "") == entry.walletLabel) wallet = node;
    for (const json& c : node["children"]) self(c, self);
  };
  find(r["root"], find);
  // Taller than the room inside the margins, the content is centred and overflows both ways.
  EXPECT_EQ(wallet["frame"]["x"], 16);
  EXPECT_EQ(wallet["frame"]["y"], 8);
  EXPECT_EQ(wallet["language"], "en");
}

// Sizes from the Human Interface Guidelines, by screen: small and medium share a height, medium
// and large a width.
TEST(HostDeviceTest, EveryDeviceHasItsScreensWidgetSizes) {
  const std::map<double, std::pair<double, double>> byScreenWidth = {
      {430, {170, 364}}, {428, {170, 364}}, {393, {158, 338}},
      {390, {158, 338}}, {414, {169, 360}}, {320, {141, 292}}};
  const std::map<double, std::pair<double, double>> byScreenHeight = {{812, {155, 329}},
                                                                      {667, {148, 321}}};
  for (const std::string& name : hostDeviceNames()) {
    HostDevice d = *hostDevice(name);
    auto [small, medium] = byScreenWidth.contains(d.screen.width)
                               ? byScreenWidth.at(d.screen.width)
                               : byScreenHeight.at(d.screen.height);
    EXPECT_EQ(d.widgetSize(WidgetFamily::systemSmall), (Size{small, small})) << name;
    EXPECT_EQ(d.widgetSize(WidgetFamily::systemMedium), (Size{medium, small})) << name;
    EXPECT_EQ(d.widgetSize(WidgetFamily::systemLarge)->width, medium) << name;
  }
  EXPECT_EQ(hostDevice(defaultDeviceName)->screen, (Size{393, 852}));
}

TEST(HostDeviceTest, UnknownDeviceFamilyOrScaleIsAnError) {
  auto unknown = renderWidget({.view = Text("a"), .device = "pixel7"}, measurer());
  ASSERT_FALSE(unknown);
  EXPECT_NE(unknown.failure().message.find("pixel7"), std::string::npos);
  EXPECT_FALSE(
      renderWidget({.view = Text("a"), .family = WidgetFamily::accessoryCircular}, measurer()));
  EXPECT_FALSE(renderWidget({.view = Text("a"), .scale = 0.5}, measurer()));
}

}  // namespace
}  // namespace host
