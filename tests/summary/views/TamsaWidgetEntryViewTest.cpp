// The summary widget's views laid out with fixed-advance text measuring, so every gap, edge, size
// and colour is checked exactly: the medium and small layouts, shrinking and cutting, colours by
// appearance, the signed-out message, the background per system version and the tap link.
#include "summary/views/TamsaWidgetEntryView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/swiftui/FakeTextMeasurer.h"
#include "platform/swiftui/Layout.h"
#include "platform/swiftui/ViewNode.h"
#include "shared/Palette.h"
#include "summary/views/SummaryFormatting.h"
#include "support/TestDevice.h"

namespace tamsa {
namespace {

using namespace swiftui;
using os::SystemVersion;
using testing_support::TestDevice;

const std::map<std::string, std::string> kEnglish = {
    {"widget_balance", "Balance"},
    {"widget_income", "Income"},
    {"widget_expense", "Expense"},
    {"widget_updated_at", "Updated at"},
    {"widget_logged_out_message", "Sign in to Tamsa to see your summary"},
};

// Sizes the host gives the families on a 393-point-wide phone.
Size sizeOf(WidgetFamily family) {
  if (family == WidgetFamily::systemSmall) return {158, 158};
  if (family == WidgetFamily::systemMedium) return {338, 158};
  return {338, 354};
}

TamsaSummaryEntry signedIn() {
  TamsaSummaryEntry e;
  e.date = foundation::Date{1780000000};
  e.income = 5230.75;
  e.expense = 3184.2;
  e.balance = 2046.55;
  e.currencySymbol = "$";
  e.periodLabel = "This Month";
  e.walletLabel = "Checking";
  e.lastUpdate = foundation::Date{1780000000};
  e.isLoggedIn = true;
  return e;
}

struct Placed {
  WidgetLayout layout;
  Rect content;  // the area inside the host's margins

  const LayoutNode& text(const std::string& string) const {
    for (const LayoutNode* n : layout.root.findAll("Text"))
      if (n->text->string == string) return *n;
    ADD_FAILURE() << "no text " << string;
    static const LayoutNode none;
    return none;
  }
  std::vector<const LayoutNode*> all(const std::string& type) const {
    return layout.root.findAll(type);
  }
};

struct Scene {
  std::map<std::string, std::string> table = kEnglish;
  std::optional<SystemVersion> version = SystemVersion{17, 0, 0};
  WidgetFamily family = WidgetFamily::systemMedium;
  ColorScheme appearance = ColorScheme::light;
};

// Lays the widget's content out as the host does: in the family's size, with the standard 16-point
// margins around content that uses a container background and none otherwise.
Placed place(const TamsaSummaryEntry& entry, const Scene& s = {}) {
  device::Device d = TestDevice().withTable("en", s.table).device();
  d.systemVersion = s.version;
  View view = summaryWidgetContent(d, entry);
  EnvironmentValues env;
  env.widgetFamily = s.family;
  env.colorScheme = s.appearance;
  static const FakeTextMeasurer measurer;
  double margin = inspect(view, env).usesContainerBackground ? 16 : 0;
  Size size = sizeOf(s.family);
  Placed p;
  p.layout = layoutWidget(view, size, insets(EdgeSet::all, margin), env, LayoutContext{measurer});
  p.content = {margin, margin, size.width - 2 * margin, size.height - 2 * margin};
  return p;
}

// ---- Medium layout

TEST(MediumSummaryLayout, FixedGapsBetweenHeaderRowsDividerAndBalance) {
  Placed p = place(signedIn());
  const LayoutNode& wallet = p.text("Checking");
  const LayoutNode& period = p.text("This Month");
  auto rows = p.all("HStack");  // income, expense, balance, footer
  ASSERT_EQ(rows.size(), 4u);
  auto rects = p.all("Rectangle");
  ASSERT_EQ(rects.size(), 1u);
  const LayoutNode& divider = *rects[0];

  EXPECT_EQ(period.frame.y - wallet.frame.maxY(), 1);
  EXPECT_EQ(rows[0]->frame.y - period.frame.maxY(), 10);
  EXPECT_EQ(rows[1]->frame.y - rows[0]->frame.maxY(), 4);
  EXPECT_EQ(divider.frame.y - rows[1]->frame.maxY(), 8);
  EXPECT_EQ(divider.frame.height, 1);
  EXPECT_EQ(divider.frame.x, p.content.x);
  EXPECT_EQ(divider.frame.width, p.content.width);
  EXPECT_EQ(rows[2]->frame.y - divider.frame.maxY(), 8);
  EXPECT_GE(rows[3]->frame.y - rows[2]->frame.maxY(), 4);
  EXPECT_EQ(p.text("Income").frame.y + p.text("Income").frame.height / 2,
            rows[0]->frame.y + rows[0]->frame.height / 2);  // rows centre their children
}

TEST(MediumSummaryLayout, FooterSitsInTheBottomTrailingCornerAndEverythingElseLeads) {
  // A taller family gets the same layout; its spare height goes to the spacer above the footer.
  for (WidgetFamily family : {WidgetFamily::systemMedium, WidgetFamily::systemLarge}) {
    SCOPED_TRACE(static_cast<int>(family));
    Placed p = place(signedIn(), {.family = family});
    const LayoutNode& label = p.text("Updated at");
    const LayoutNode& time = p.text(lastUpdateText(signedIn(), TestDevice().device()));
    EXPECT_EQ(label.frame.maxX(), p.content.maxX());
    EXPECT_EQ(time.frame.maxX(), p.content.maxX());
    EXPECT_EQ(time.frame.y, label.frame.maxY());
    EXPECT_EQ(time.frame.maxY(), p.layout.root.frame.maxY());
    if (family == WidgetFamily::systemLarge) EXPECT_EQ(time.frame.maxY(), p.content.maxY());
    EXPECT_EQ(label.text->fontSize, 9);
    EXPECT_EQ(time.text->fontSize, 9);

    for (const char* leading : {"Checking", "This Month", "Income", "Expense", "Balance"})
      EXPECT_EQ(p.text(leading).frame.x, p.content.x) << leading;
    for (const char* amount : {"$5,230.75", "$3,184.2", "$2,046.55"})
      EXPECT_EQ(p.text(amount).frame.maxX(), p.content.maxX()) << amount;
  }
  TamsaSummaryEntry e = signedIn();
  e.lastUpdate.reset();
  Placed p = place(e);
  EXPECT_EQ(p.text("--:--").frame.maxX(), p.content.maxX());
  EXPECT_EQ(p.text("--:--").frame.y, p.text("Updated at").frame.maxY());
}

TEST(MediumSummaryLayout, FontsOfEveryText) {
  Placed p = place(signedIn());
  struct Expected {
    const char* string;
    double size;
    Font::Weight weight;
  };
  for (const Expected& e : std::vector<Expected>{{"Checking", 14, Font::Weight::bold},
                                                 {"This Month", 11, Font::Weight::regular},
                                                 {"Income", 12, Font::Weight::regular},
                                                 {"$5,230.75", 14, Font::Weight::bold},
                                                 {"Expense", 12, Font::Weight::regular},
                                                 {"$3,184.2", 14, Font::Weight::bold},
                                                 {"Balance", 13, Font::Weight::regular},
                                                 {"$2,046.55", 16, Font::Weight::bold}}) {
    const TextLayout& t = *p.text(e.string).text;
    EXPECT_EQ(t.fontSize, e.size) << e.string;
    EXPECT_EQ(t.fontWeight, e.weight) << e.string;
    EXPECT_FALSE(t.shrunk || t.truncated) << e.string;
  }
}

// ---- Small layout

TEST(SmallSummaryLayout, TwoEqualSpacersOfAtLeastSixAroundTheBalance) {
  Placed p = place(signedIn(), {.family = WidgetFamily::systemSmall});
  auto spacers = p.layout.root.children;
  // Header, spacer, caption, amount, spacer, income row, expense row.
  ASSERT_EQ(spacers.size(), 7u);
  const LayoutNode& top = spacers[1];
  const LayoutNode& bottom = spacers[4];
  ASSERT_EQ(top.type, "Spacer");
  ASSERT_EQ(bottom.type, "Spacer");
  EXPECT_EQ(top.frame.height, bottom.frame.height);
  EXPECT_GT(top.frame.height, 6);  // the free height is shared, not left at the minimum
  EXPECT_EQ(p.text("Balance").frame.y, top.frame.maxY());
  EXPECT_EQ(bottom.frame.y, p.text("$2,046.55").frame.maxY());
  EXPECT_EQ(p.layout.root.frame.height, p.content.height);

  // A caption that wraps leaves no free height: both spacers keep their minimum.
  Scene crowded{.family = WidgetFamily::systemSmall};
  crowded.table["widget_balance"] = "Balance of every selected wallet for the chosen period";
  Placed q = place(signedIn(), crowded);
  EXPECT_EQ(q.layout.root.children[1].frame.height, 6);
  EXPECT_EQ(q.layout.root.children[4].frame.height, 6);
}

TEST(SmallSummaryLayout, CaptionsLeadAndAmountsTrail) {
  for (auto version :
       {std::optional(SystemVersion{17, 0, 0}), std::optional(SystemVersion{16, 4, 0})}) {
    Placed p = place(signedIn(), {.version = version, .family = WidgetFamily::systemSmall});
    double leading = version->major >= 17 ? 16 : 14;
    double trailing = 158 - leading;
    for (const char* s : {"Checking", "This Month", "Balance", "$2,046.55", "Income", "Expense"})
      EXPECT_EQ(p.text(s).frame.x, leading) << s;
    EXPECT_EQ(p.text("$5,230.75").frame.maxX(), trailing);
    EXPECT_EQ(p.text("$3,184.2").frame.maxX(), trailing);
    EXPECT_EQ(p.text("Balance").text->fontSize, 12);
    EXPECT_EQ(p.text("$2,046.55").text->fontSize, 18);
    EXPECT_EQ(p.text("$2,046.55").text->fontWeight, Font::Weight::bold);
    EXPECT_EQ(p.text("Income").text->fontSize, 10);
    EXPECT_EQ(p.text("$5,230.75").text->fontSize, 12);
    EXPECT_EQ(p.all("Rectangle").size(), 0u);  // no divider and no footer in the small layout
    for (const LayoutNode* t : p.all("Text")) EXPECT_NE(t->text->string, "Updated at");
  }
}

// ---- Shrinking and cutting

struct Fit {
  double fontSize;
  bool shrunk;
  bool truncated;
};
Fit fitOf(const LayoutNode& n) {
  return {n.text->fontSize, n.text->shrunk, n.text->truncated};
}

TEST(SummaryAmounts, ShrinkToTheirMinimumBeforeBeingCut) {
  // Every character is half the font size wide; each `fits` amount is too wide for its place at
  // full size but fits shrunk, and 1e40 does not fit even at the minimum size.
  struct Case {
    WidgetFamily family;
    int index;  // balance, income, expense in the small layout; income, expense, balance in the
                // medium
    double size, minimum;
    double fits;
  };
  auto texts = [](const Placed& p, const std::string& s) {
    std::vector<const LayoutNode*> out;
    for (const LayoutNode* n : p.all("Text"))
      if (n->text->string == s) out.push_back(n);
    return out;
  };
  auto allAmounts = [](double value) {
    TamsaSummaryEntry e = signedIn();
    e.balance = e.income = e.expense = value;
    return e;
  };
  for (const Case& c : std::vector<Case>{{WidgetFamily::systemSmall, 0, 18, 0.6, 1e15},
                                         {WidgetFamily::systemSmall, 1, 12, 0.7, 1e12},
                                         {WidgetFamily::systemSmall, 2, 12, 0.7, 1e12},
                                         {WidgetFamily::systemMedium, 0, 14, 0.7, 1e30},
                                         {WidgetFamily::systemMedium, 1, 14, 0.7, 1e30},
                                         {WidgetFamily::systemMedium, 2, 16, 0.7, 1e30}}) {
    SCOPED_TRACE(std::to_string(static_cast<int>(c.family)) + "/" + std::to_string(c.index));
    TamsaSummaryEntry fits = allAmounts(c.fits);
    Placed shrunk = place(fits, {.family = c.family});
    auto a = texts(shrunk, amountText(fits, c.fits));
    ASSERT_EQ(a.size(), 3u);
    Fit f = fitOf(*a[c.index]);
    EXPECT_TRUE(f.shrunk);
    EXPECT_FALSE(f.truncated);
    EXPECT_LT(f.fontSize, c.size);
    EXPECT_GE(f.fontSize, c.size * c.minimum);
    EXPECT_EQ(a[c.index]->text->lines, 1);

    TamsaSummaryEntry cut = allAmounts(1e40);
    Placed cutOff = place(cut, {.family = c.family});
    auto b = texts(cutOff, amountText(cut, 1e40));
    ASSERT_EQ(b.size(), 3u);
    Fit g = fitOf(*b[c.index]);
    EXPECT_TRUE(g.truncated);
    EXPECT_NEAR(g.fontSize, c.size * c.minimum, 1e-9);
    EXPECT_EQ(b[c.index]->text->lines, 1);
    EXPECT_EQ(b[c.index]->text->drawn.substr(b[c.index]->text->drawn.size() - 3), "…");
    EXPECT_LE(b[c.index]->frame.maxX(), cutOff.content.maxX());
  }
}

TEST(SummaryLabels, NeverShrinkAndMayWrap) {
  Scene s;
  s.table["widget_income"] = "Income received across all the wallets that are selected";
  s.table["widget_expense"] = "Expense";
  TamsaSummaryEntry e = signedIn();
  e.income = 1e15;
  for (WidgetFamily family : {WidgetFamily::systemSmall, WidgetFamily::systemMedium}) {
    s.family = family;
    Placed p = place(e, s);
    const TextLayout& label = *p.text(s.table["widget_income"]).text;
    EXPECT_EQ(label.fontSize, family == WidgetFamily::systemSmall ? 10 : 12);
    EXPECT_FALSE(label.shrunk);
    EXPECT_FALSE(label.truncated);
    EXPECT_GT(label.lines, 1);
    EXPECT_EQ(label.drawn, label.string);
  }
}

TEST(SummaryHeader, LongLabelsAreCutAtFullSizeOnOneLine) {
  TamsaSummaryEntry e = signedIn();
  e.walletLabel = "Gemeinsames Haushaltskonto der Familie Müller-Lüdenscheidt";
  e.periodLabel = "Benutzerdefinierter Zeitraum vom ersten bis zum letzten Tag";
  for (WidgetFamily family : {WidgetFamily::systemSmall, WidgetFamily::systemMedium}) {
    Placed p = place(e, {.family = family});
    const LayoutNode& wallet = p.text(e.walletLabel);
    EXPECT_EQ(wallet.text->fontSize, 14);
    EXPECT_FALSE(wallet.text->shrunk);
    EXPECT_TRUE(wallet.text->truncated);
    EXPECT_EQ(wallet.text->lines, 1);
    EXPECT_EQ(wallet.text->drawn.substr(wallet.text->drawn.size() - 3), "…");
    EXPECT_LE(wallet.frame.maxX(), p.content.maxX());
    const LayoutNode& period = p.text(e.periodLabel);
    EXPECT_EQ(period.text->fontSize, 11);
    EXPECT_TRUE(period.text->truncated);
    EXPECT_EQ(period.text->lines, 1);
  }
}

// ---- Colours

TEST(SummaryColours, FollowTheAppearanceAndNotTheSign) {
  TamsaSummaryEntry negative = signedIn();
  negative.balance = -2046.55;
  negative.expense = -3184.2;
  negative.income = -5230.75;
  struct Expected {
    const char* string;
    const Color& color;
  };
  for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
    for (WidgetFamily family : {WidgetFamily::systemSmall, WidgetFamily::systemMedium}) {
      bool small = family == WidgetFamily::systemSmall;
      Placed p = place(negative, {.family = family, .appearance = scheme});
      std::vector<Expected> all = {
          {"Checking", primaryTextColor()},
          {"This Month", tertiaryTextColor()},
          {"Income", secondaryTextColor()},
          {"Expense", secondaryTextColor()},
          {"-$5,230.75", incomeColor()},
          {"-$3,184.2", expenseColor()},
          {"-$2,046.55", primaryTextColor()},
          {"Balance", small ? secondaryTextColor() : primaryTextColor()},
      };
      if (!small) {
        all.push_back({"Updated at", footerTextColor()});
        EXPECT_EQ(*p.all("Rectangle")[0]->color, dividerColor().resolved(scheme));
      }
      for (const Expected& e : all)
        EXPECT_EQ(p.text(e.string).text->color, e.color.resolved(scheme))
            << e.string << (scheme == ColorScheme::dark ? " dark" : " light");
    }
  }
  EXPECT_NE(primaryTextColor().resolved(ColorScheme::light),
            primaryTextColor().resolved(ColorScheme::dark));
}

// ---- Signed out, background and link

TEST(SignedOutSummary, OnlyTheMessageCentredInEveryFamilyAndSystem) {
  TamsaSummaryEntry out = signedIn();
  out.isLoggedIn = false;
  for (WidgetFamily family :
       {WidgetFamily::systemSmall, WidgetFamily::systemMedium, WidgetFamily::systemLarge}) {
    for (auto version : {std::optional(SystemVersion{16, 4, 0}),
                         std::optional(SystemVersion{17, 0, 0}), std::optional<SystemVersion>()}) {
      Placed p = place(out, {.version = version, .family = family});
      auto texts = p.all("Text");
      ASSERT_EQ(texts.size(), 1u);
      EXPECT_TRUE(p.all("HStack").empty());
      EXPECT_TRUE(p.all("VStack").empty());
      const LayoutNode& message = *texts[0];
      EXPECT_EQ(message.text->string, kEnglish.at("widget_logged_out_message"));
      EXPECT_EQ(message.text->fontSize, 14);
      EXPECT_EQ(message.text->alignment, TextAlignment::center);
      EXPECT_EQ(message.text->color, secondaryTextColor().resolved(ColorScheme::light));
      double inset = version && version->major >= 17 ? 16 : 14;
      const LayoutNode& frame = *p.layout.root.find("Frame");
      Size size = sizeOf(family);
      EXPECT_EQ(frame.frame, (Rect{inset, inset, size.width - 2 * inset, size.height - 2 * inset}));
      EXPECT_DOUBLE_EQ(message.frame.x + message.frame.width / 2, size.width / 2);
      EXPECT_DOUBLE_EQ(message.frame.y + message.frame.height / 2, size.height / 2);
    }
  }
}

TEST(SummaryBackground, InsetOverTheSystemBackgroundBeforeIOS17ContainerBackgroundFrom17) {
  for (auto version :
       {std::optional(SystemVersion{16, 4, 0}), std::optional(SystemVersion{16, 99, 99}),
        std::optional<SystemVersion>(), std::optional(SystemVersion{17, 0, 0}),
        std::optional(SystemVersion{17, 5, 1}), std::optional(SystemVersion{18, 0, 0})}) {
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
      SCOPED_TRACE(version ? version->text() : "unknown");
      Placed p =
          place(signedIn(),
                {.version = version, .family = WidgetFamily::systemSmall, .appearance = scheme});
      const LayoutNode& root = p.layout.root;
      if (version && version->major >= 17) {
        // The host's margins only: no background and no inset of the widget's own.
        EXPECT_EQ(root.type, "VStack");
        EXPECT_TRUE(root.findAll("Background").empty());
        EXPECT_EQ(p.text("Checking").frame.x, 16);
        continue;
      }
      ASSERT_EQ(root.type, "Background");
      EXPECT_EQ(root.frame, (Rect{0, 0, 158, 158}));
      EXPECT_EQ(*root.color,
                uikit::UIColor::systemBackgroundColor().resolved(
                    {scheme == ColorScheme::dark ? uikit::UIUserInterfaceStyle::dark
                                                 : uikit::UIUserInterfaceStyle::light}));
      ASSERT_EQ(root.children.size(), 1u);
      const LayoutNode& padding = root.children[0];
      ASSERT_EQ(padding.type, "Padding");
      ASSERT_EQ(padding.children.size(), 1u);
      const Rect& inner = padding.children[0].frame;
      EXPECT_EQ(inner.x - padding.frame.x, 14);
      EXPECT_EQ(padding.frame.maxX() - inner.maxX(), 14);
      EXPECT_EQ(inner.y - padding.frame.y, 14);
      EXPECT_EQ(padding.frame.maxY() - inner.maxY(), 14);
      EXPECT_EQ(p.text("Checking").frame.x, 14);
    }
  }
}

TEST(SummaryLink, EveryFamilySignedInOrOutOpensTheWidgetLink) {
  for (bool loggedIn : {true, false}) {
    for (auto version :
         {std::optional(SystemVersion{16, 4, 0}), std::optional(SystemVersion{18, 0, 0})}) {
      device::Device d = TestDevice().withTable("en", kEnglish).device();
      d.systemVersion = version;
      TamsaSummaryEntry e = signedIn();
      e.isLoggedIn = loggedIn;
      View view = summaryWidgetContent(d, e);
      for (WidgetFamily family :
           {WidgetFamily::systemSmall, WidgetFamily::systemMedium, WidgetFamily::systemLarge,
            WidgetFamily::systemExtraLarge, WidgetFamily::accessoryCircular,
            WidgetFamily::accessoryRectangular, WidgetFamily::accessoryInline}) {
        EnvironmentValues env;
        env.widgetFamily = family;
        EXPECT_EQ(inspect(view, env).widgetURL, std::optional<std::string>("tamsaledger://widget"));
      }
    }
  }
}

}  // namespace
}  // namespace tamsa
