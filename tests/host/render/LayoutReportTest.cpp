#include "host/render/LayoutReport.h"

#include <gtest/gtest.h>

#include "host/render/HostDevice.h"
#include "host/render/RenderRequest.h"
#include "host/render/SampleWidgets.h"

namespace render {
namespace {

using namespace swiftui;
using nlohmann::json;

const PangoTextMeasurer& measurer() {
  static const PangoTextMeasurer shared;
  return shared;
}

json reportOf(View view, WidgetFamily family, ColorScheme appearance = ColorScheme::light) {
  RenderRequest request{.view = view,
                        .family = family,
                        .appearance = appearance,
                        .systemVersion = os::SystemVersion{17, 2, 0}};
  RenderResult result = renderWidget(request, measurer());
  EXPECT_TRUE(result.ok());
  return result.report;
}

TEST(LayoutReportTest, ListsEveryLaidOutNodeWithFramesFromTheWidgetCorner) {
  json r = reportOf(samples::hosted(samples::mediumSummary(), true), WidgetFamily::systemMedium);
  EXPECT_EQ(r["size"], (json{{"width", 338}, {"height", 158}}));
  EXPECT_EQ(r["scale"], 3);
  EXPECT_EQ(r["widgetURL"], "tamsaledger://widget");
  const json& root = r["root"];
  EXPECT_EQ(root["type"], "VStack");
  // The content is taller than the 126 points inside the margins: centred, it overflows both ways.
  EXPECT_EQ(root["frame"], (json{{"x", 16}, {"y", 8}, {"width", 306}, {"height", 142}}));
  const json& header = root["children"][0];
  EXPECT_EQ(header["type"], "Padding");
  EXPECT_EQ(header["children"][0]["type"], "VStack");
  const json& wallet = header["children"][0]["children"][0];
  EXPECT_EQ(wallet["type"], "Text");
  EXPECT_EQ(wallet["string"], "All wallets");
  EXPECT_EQ(wallet["drawn"], "All wallets");
  EXPECT_EQ(wallet["fontSize"], 14);
  EXPECT_EQ(wallet["fontWeight"], "bold");
  EXPECT_EQ(wallet["lines"], 1);
  EXPECT_EQ(wallet["shrunk"], false);
  EXPECT_EQ(wallet["truncated"], false);
  EXPECT_EQ(wallet["missingGlyphs"], 0);
  EXPECT_EQ(wallet["frame"]["x"], 16);
  EXPECT_EQ(wallet["children"], json::array());
  const json& divider = root["children"][3]["children"][0];
  EXPECT_EQ(divider["type"], "Frame");
  EXPECT_EQ(divider["frame"]["height"], 1);
  EXPECT_EQ(divider["children"][0]["type"], "Rectangle");
  EXPECT_EQ(divider["children"][0]["color"], "#E0E0E6");
}

TEST(LayoutReportTest, ColoursAreThoseOfTheAppearance) {
  json light =
      reportOf(samples::hosted(samples::signedOut("Sign in"), false), WidgetFamily::systemSmall);
  json dark = reportOf(samples::hosted(samples::signedOut("Sign in"), false),
                       WidgetFamily::systemSmall, ColorScheme::dark);
  EXPECT_EQ(light["root"]["type"], "Background");
  EXPECT_EQ(light["root"]["color"], "#FFFFFF");
  EXPECT_EQ(dark["root"]["color"], "#1C1C1E");
  const json& text = dark["root"]["children"][0]["children"][0]["children"][0];
  EXPECT_EQ(text["type"], "Text");
  EXPECT_EQ(text["color"], "#A3A3AD");
}

TEST(LayoutReportTest, ShowsShrunkCutAndMissingTexts) {
  samples::SummaryTexts t{.wallet = "A wallet with a name far too long for one line",
                          .balance = "-$123,456,789,012,345.67",
                          .income = "$1\U000F0001"};
  json r = reportOf(samples::hosted(samples::smallSummary(t), true), WidgetFamily::systemSmall);
  const json& wallet = r["root"]["children"][0]["children"][0];
  EXPECT_EQ(wallet["truncated"], true);
  EXPECT_EQ(wallet["shrunk"], false);
  const json& balance = r["root"]["children"][3];
  EXPECT_EQ(balance["string"], "-$123,456,789,012,345.67");
  EXPECT_EQ(balance["shrunk"], true);
  EXPECT_EQ(balance["truncated"], true);
  EXPECT_EQ(balance["fontSize"], 10.8);  // 60 % of 18 before it is cut
  const json& income = r["root"]["children"][5]["children"][2];
  EXPECT_EQ(income["missingGlyphs"], 1);
}

TEST(LayoutReportTest, HexColourRoundsEachComponent) {
  EXPECT_EQ(hexColor({0.082, 0.773, 0.808, 1}), "#15C5CE");
  EXPECT_EQ(hexColor({1.2, -0.1, 0.5, 0.3}), "#FF0080");
}

TEST(HostDeviceTest, DefaultIsASixPointOneInchPhone) {
  std::optional<HostDevice> d = hostDevice(defaultDeviceName);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->screen.width, 393);
  EXPECT_EQ(d->widgetSize(WidgetFamily::systemSmall), (Size{158, 158}));
  EXPECT_EQ(d->widgetSize(WidgetFamily::systemMedium), (Size{338, 158}));
  EXPECT_EQ(hostDevice("iphonese")->widgetSize(WidgetFamily::systemSmall), (Size{148, 148}));
  EXPECT_EQ(hostDevice("iphone15promax")->widgetSize(WidgetFamily::systemMedium), (Size{364, 170}));
  EXPECT_EQ(d->widgetSize(WidgetFamily::accessoryInline), std::nullopt);
}

TEST(HostDeviceTest, UnknownDeviceOrFamilyIsAnError) {
  RenderResult unknown = renderWidget({.view = Text("a"), .device = "pixel7"}, measurer());
  ASSERT_FALSE(unknown.ok());
  EXPECT_NE(unknown.error->message.find("pixel7"), std::string::npos);
  EXPECT_FALSE(
      renderWidget({.view = Text("a"), .family = WidgetFamily::accessoryCircular}, measurer())
          .ok());
  EXPECT_FALSE(renderWidget({.view = Text("a"), .scale = 0.5}, measurer()).ok());
}

}  // namespace
}  // namespace render
