// The language of what is drawn: the system's settings choose one table, and that choice decides
// the direction too; each text is measured and drawn in the language of the table it came from.
#include "host/pictures/Drawing.h"

#include <gtest/gtest.h>

#include <tuple>

#include "quickadd/TamsaAddTransactionControl.h"
#include "quickadd/TamsaAddTransactionWidget.h"
#include "summary/views/TamsaWidget.h"
#include "support/TestDevice.h"

namespace host {
namespace {

using testing_support::TestDevice;

// The string, its language, and whether it is drawn right to left.
using DrawnText = std::tuple<std::string, std::string, bool>;

// The texts of the quick-add widget, or of the control, as drawn.
std::vector<DrawnText> texts(const device::Device& d, bool control = false) {
  static const drawing::PangoTextMeasurer measurer;
  const PictureLook look{.device = *host::hostDevice(host::defaultDeviceName), .scale = 1};
  auto drawn = control ? drawControl(d, tamsa::TamsaAddTransactionControl{}.body(d), look, measurer)
                       : drawWidget(d, tamsa::TamsaAddTransactionWidget{}.body(d),
                                    widgetkit::WidgetFamily::systemSmall, EntryChoice::timeline,
                                    look, measurer);
  std::vector<DrawnText> out;
  if (!drawn) return out;
  for (const drawing::LayoutTreeNode* node : drawn->tree.texts())
    out.emplace_back(node->text->string, node->text->language.value_or(""),
                     node->text->direction == swiftui::LayoutDirection::rightToLeft);
  return out;
}

constexpr const char* kTitle = "widget_add_transaction_title";

TestDevice shipped() {
  TestDevice t;
  t.withTable("en", {{"+", "+"}, {kTitle, "Add Transaction"}})
      .withTable("ar", {{"+", "+"}, {kTitle, "إضافة معاملة"}})
      .withTable("he", {{"+", "+"}, {kTitle, "הוספת עסקה"}})
      .withTable("zh-Hans", {{"+", "+"}, {kTitle, "添加交易"}})
      .withTable("ja", {{"+", "+"}});  // no title
  return t;
}

TEST(Drawing, TheSystemsLanguageChoosesTheTableAndTheDirectionAlike) {
  const std::vector<std::pair<std::string, DrawnText>> cases = {
      {"iw-IL", {"הוספת עסקה", "he", true}},
      // No table for Persian or Urdu: English, left to right, as on the phone.
      {"fa", {"Add Transaction", "en", false}},
      {"ar-XB", {"\u202EAdd Transaction\u202C", "ar-XB", true}},
  };
  for (const auto& [system, title] : cases) {
    auto drawn = texts(shipped().withPreferredLanguages({system}).device());
    ASSERT_EQ(drawn.size(), 2u) << system;
    EXPECT_EQ(drawn[0], (DrawnText{"+", std::get<1>(title), std::get<2>(title)})) << system;
    EXPECT_EQ(drawn[1], title) << system;
  }
}

// A key the in-app language's table lacks shows the system language's text, which is then drawn
// in the system's language: its glyph forms and its paragraph direction are that language's.
// The "+" is looked up by the platform in the system's table, so it is in that language too.
TEST(Drawing, EachTextIsDrawnInTheLanguageOfTheTableItCameFrom) {
  auto inApp = [](const char* recorded, const char* system) {
    return shipped()
        .withPreferredLanguages({system})
        .withStore({{"widget_language", std::string(recorded)}})
        .device();
  };
  EXPECT_EQ(texts(inApp("ja", "zh-Hans")),
            (std::vector<DrawnText>{{"+", "zh-Hans", false}, {"添加交易", "zh-Hans", false}}));
  EXPECT_EQ(texts(inApp("ja", "ar")),
            (std::vector<DrawnText>{{"+", "ar", false}, {"إضافة معاملة", "ar", false}}));
  EXPECT_EQ(texts(inApp("zh-Hans", "ja")),
            (std::vector<DrawnText>{{"+", "ja", false}, {"添加交易", "zh-Hans", false}}));
  // The control's title is the in-app language's; the system lays the control out.
  EXPECT_EQ(texts(inApp("zh-Hans", "ja"), true),
            (std::vector<DrawnText>{{"添加交易", "zh-Hans", false}}));
}

// The tree names the table entry of each text from a table, found as the text is laid out; a text
// the widget makes itself (an amount) has none.
TEST(Drawing, TheTreeCarriesTheTableEntryOfEachLocalizedText) {
  device::Device d = shipped()
                         .withTable("de", {{"widget_balance", "Saldo"}})
                         .withPreferredLanguages({"de"})
                         .device();
  const drawing::PangoTextMeasurer measurer;
  const PictureLook look{.device = *host::hostDevice(host::defaultDeviceName), .scale = 1};
  auto drawn = drawWidget(d, tamsa::TamsaWidget{}.body(d), widgetkit::WidgetFamily::systemSmall,
                          EntryChoice::preview, look, measurer);
  ASSERT_TRUE(drawn) << drawn.failure().message;
  const swiftui::TextLayout* balance = nullptr;
  const swiftui::TextLayout* amount = nullptr;
  for (const drawing::LayoutTreeNode* node : drawn->tree.texts()) {
    if (node->text->string == "Saldo") balance = &*node->text;
    if (node->text->string.find_first_of("0123456789") != std::string::npos) amount = &*node->text;
  }
  ASSERT_TRUE(balance && amount);
  EXPECT_EQ(balance->source,
            (swiftui::TextSource{"de.lproj/Localizable.strings", "widget_balance", 1}));
  EXPECT_EQ(balance->language, "de");
  EXPECT_EQ(amount->source, std::nullopt);
}

}  // namespace
}  // namespace host
