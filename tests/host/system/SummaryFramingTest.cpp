// The summary widget's views framed as the home screen frames them, laid out with fixed-advance
// text measuring (half the font size per character), so every gap, edge, size and colour is
// checked exactly: the medium and small layouts, shrinking and cutting, colours by appearance,
// the signed-out message, the background per system version and the tap link.
#include "summary/views/TamsaWidgetEntryView.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "host/system/WidgetFraming.h"
#include "platform/swiftui/FakeTextMeasurer.h"
#include "platform/swiftui/Layout.h"
#include "shared/Palette.h"
#include "summary/views/SummaryFormatting.h"
#include "support/TestDevice.h"

namespace tamsa {
namespace {

using namespace swiftui;
using os::SystemVersion;
using Family = WidgetFamily;

const std::map<std::string, std::string> kEnglish = {
    {"widget_balance", "Balance"},
    {"widget_income", "Income"},
    {"widget_expense", "Expense"},
    {"widget_updated_at", "Updated at"},
    {"widget_logged_out_message", "Sign in to Tamsa to see your summary"},
};

TamsaSummaryEntry signedIn(double income = 5230.75, double expense = 3184.2,
                           double balance = 2046.55) {
  return {foundation::Date{1780000000}, income, expense, balance, "$", "This Month", "Checking",
          foundation::Date{1780000000}, true};
}

struct Scene {
  std::map<std::string, std::string> table = kEnglish;
  std::optional<SystemVersion> version = SystemVersion{17, 0, 0};
  Family family = Family::systemMedium;
  ColorScheme appearance = ColorScheme::light;
};

// A laid-out widget and the link a tap on it opens.
struct Placed : WidgetLayout {
  std::optional<std::string> link;
};

// Lays the content out as the host frames it on its default phone.
Placed place(const TamsaSummaryEntry& entry, const Scene& s = {}) {
  device::Device d = testing_support::TestDevice().withTable("en", s.table).device();
  d.systemVersion = s.version;
  static const FakeTextMeasurer measurer;
  host::SceneRequest request;
  request.view = summaryWidgetContent(d, entry);
  request.family = s.family;
  request.appearance =
      s.appearance == ColorScheme::dark ? host::Appearance::dark : host::Appearance::light;
  request.systemVersion = s.version;
  auto framed = *host::composeScene(request, measurer);
  return {framed.layout, framed.widgetURL};
}

// Which palette colour `color` is in `scheme`.
std::string colourName(const uikit::RGBA& color, ColorScheme scheme) {
  using Entry = std::pair<const char*, const Color& (*)()>;
  static const Entry palette[] = {
      {"primary", primaryTextColor},   {"secondary", secondaryTextColor},
      {"tertiary", tertiaryTextColor}, {"footer", footerTextColor},
      {"divider", dividerColor},       {"income", incomeColor},
      {"expense", expenseColor},
  };
  for (auto [name, colour] : palette)
    if (colour().resolved(scheme) == color) return name;
  return "other";
}

// One line per text and rule in drawing order: what is drawn, where, in which font and colour.
std::string sketch(const LayoutNode& n, ColorScheme scheme) {
  std::string out;
  if (n.text || n.type == "Rectangle") {
    char line[200];
    std::snprintf(line, sizeof line, "%s %g,%g %gx%g %g/%d %s\n",
                  n.text ? n.text->drawn.c_str() : "rule", n.frame.x, n.frame.y, n.frame.width,
                  n.frame.height, n.text ? n.text->fontSize : 0,
                  n.text ? static_cast<int>(n.text->fontWeight) : 0,
                  colourName(n.text ? n.text->color : *n.color, scheme).c_str());
    out = line;
  }
  for (const LayoutNode& child : n.children) out += sketch(child, scheme);
  return out;
}

// Negative figures (colours follow the appearance and the row, never the sign), a header and a
// caption too long for their place (cut at full size on one line; wrapped), and amounts too long
// at full size (shrunk on one line; at the minimum size, cut).
TEST(SummaryLayout, EveryTextAndTheRuleInPlace) {
  TamsaSummaryEntry medium = signedIn(-1e30, -1e40, -2046.55);
  medium.walletLabel = "Gemeinsames Haushaltskonto der Familie Müller-Lüdenscheidt";
  medium.lastUpdate.reset();
  Scene dark{.appearance = ColorScheme::dark};
  dark.table["widget_updated_at"] =
      "Brought up to date from the app at the time that is shown below";
  EXPECT_EQ(sketch(place(medium, dark).root, ColorScheme::dark),
            R"(Gemeinsames Haushaltskonto der Familie Mül… 16,9.5 301x17 14/2 primary
This Month 16,27.5 55x14 11/0 tertiary
Income 16,51.5 36x15 12/0 secondary
-$1,000,000,000,000,000,000,000,000,000,000 60,51.5 262x15 12.18/2 income
Expense 16,70.5 42x15 12/0 secondary
-$10,000,000,000,000,000,000,000,000,000,000,000,00… 67,72 255x12 9.8/2 expense
rule 16,93.5 306x1 0/0 divider
Balance 16,104.5 46x16 13/0 primary
-$2,046.55 242,102.5 80x20 16/2 primary
Brought up to date from the app at the time that is shown below 38,126.5 284x11 9/0 footer
--:-- 299,137.5 23x11 9/0 footer
)");
  Scene small{.family = Family::systemSmall};
  small.table["widget_expense"] = "Expense across the selected wallets";
  EXPECT_EQ(sketch(place(signedIn(1e12, -3184.2, 1e40), small).root, ColorScheme::light),
            R"(Checking 16,13 56x17 14/2 primary
This Month 16,31 55x14 11/0 tertiary
Balance 16,51 42x15 12/0 secondary
$10,000,000,000,000,00… 16,66 125x13 10.8/2 primary
Income 16,85 30x12 10/0 secondary
$1,000,000,000,000 54,85 88x12 9.768/2 income
Expense across the selected wallets 16,97 50x48 10/0 secondary
-$3,184.2 88,113.5 54x15 12/2 expense
)");
  // A taller family gives its spare height to the spacer above the footer.
  Placed large = place(signedIn(), {.family = Family::systemLarge});
  EXPECT_EQ(large.root.findAll("Text").back()->frame.maxY(), 354 - 16);
  // The free height of the small layout goes in equal parts above and below the balance; above,
  // the long caption left none and the spacers kept their minimum of 6.
  Placed roomy = place(signedIn(), {.family = Family::systemSmall});
  EXPECT_GT(roomy.root.children[1].frame.height, 6);
  EXPECT_EQ(roomy.root.children[1].frame.height, roomy.root.children[4].frame.height);
}

// Before iOS 17 the widget insets itself over the system background; from 17 the host's margins
// and container background do. Signed out, the message is centred and a tap still opens the app.
TEST(SummaryBackground, ByVersionWithTheSignedOutMessageCentred) {
  TamsaSummaryEntry out = signedIn();
  out.isLoggedIn = false;
  for (auto version : {std::optional(SystemVersion{16, 99, 99}), std::optional<SystemVersion>(),
                       std::optional(SystemVersion{17, 0, 0})}) {
    for (auto [scheme, family] : {std::pair{ColorScheme::light, Family::systemSmall},
                                  {ColorScheme::dark, Family::systemLarge}}) {
      SCOPED_TRACE(version ? version->text() : "unknown");
      bool modern = version && version->major >= 17;
      double inset = modern ? 16 : 14;
      Placed o = place(out, {.version = version, .family = family, .appearance = scheme});
      EXPECT_EQ(o.link, "tamsaledger://widget");
      EXPECT_EQ(o.root.findAll("Background").size(), modern ? 0u : 1u);
      if (!modern) {
        EXPECT_EQ(*o.root.color, Color(uikit::UIColor::systemBackgroundColor()).resolved(scheme));
      }
      EXPECT_EQ(o.root.find("Frame")->frame,
                (Rect{inset, inset, o.size.width - 2 * inset, o.size.height - 2 * inset}));
      auto texts = o.root.findAll("Text");
      ASSERT_EQ(texts.size(), 1u);
      const TextLayout& m = *texts[0]->text;
      EXPECT_EQ(std::tuple(m.drawn, m.alignment, m.fontSize, colourName(m.color, scheme)),
                std::tuple(kEnglish.at("widget_logged_out_message"), TextAlignment::center, 14.0,
                           "secondary"));
      const Rect& at = texts[0]->frame;
      EXPECT_DOUBLE_EQ(at.x + at.width / 2, o.size.width / 2);
      EXPECT_DOUBLE_EQ(at.y + at.height / 2, o.size.height / 2);
    }
  }
}

}  // namespace
}  // namespace tamsa
