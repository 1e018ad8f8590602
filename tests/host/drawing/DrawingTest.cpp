// The language of what is drawn: the system's settings choose one table, and that choice decides
// the direction too.
#include "host/drawing/Drawing.h"

#include <gtest/gtest.h>

#include <ostream>

#include "quickadd/TamsaAddTransactionWidget.h"
#include "support/TestDevice.h"

namespace host {
namespace {

using testing_support::TestDevice;

struct DrawnText {
  std::string string, language;
  bool rightToLeft = false;
  bool operator==(const DrawnText&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const DrawnText& t) {
    return out << '"' << t.string << "\" " << t.language << (t.rightToLeft ? " rtl" : "");
  }
};

void collect(const nlohmann::json& node, std::vector<DrawnText>& out) {
  if (node.value("type", "") == "Text")
    out.push_back({node.value("string", ""), node.value("language", ""),
                   node.value("direction", "") == "rightToLeft"});
  for (const auto& child : node.value("children", nlohmann::json::array())) collect(child, out);
}

std::vector<DrawnText> texts(const Result<DrawnPicture>& drawn) {
  std::vector<DrawnText> out;
  if (drawn) collect(drawn->report["root"], out);
  return out;
}

const PictureLook& look() {
  static const PictureLook l{.device = *render::hostDevice(render::defaultDeviceName), .scale = 1};
  return l;
}

const render::PangoTextMeasurer& measurer() {
  static const render::PangoTextMeasurer m;
  return m;
}

std::vector<DrawnText> quickAdd(const device::Device& d) {
  return texts(drawWidget(d, tamsa::TamsaAddTransactionWidget{}.body(d),
                          widgetkit::WidgetFamily::systemSmall, EntryChoice::timeline, look(),
                          measurer()));
}

constexpr const char* kTitle = "widget_add_transaction_title";

TestDevice shipped() {
  TestDevice t;
  t.withTable("en", {{"+", "+"}, {kTitle, "Add Transaction"}})
      .withTable("ar", {{"+", "+"}, {kTitle, "إضافة معاملة"}})
      .withTable("he", {{"+", "+"}, {kTitle, "הוספת עסקה"}})
      .withTable("pt-BR", {{"+", "+"}, {kTitle, "Adicionar transação"}})
      .withTable("zh-Hans", {{"+", "+"}, {kTitle, "添加交易"}})
      .withTable("ja", {{"+", "+"}});  // no title
  return t;
}

TEST(Drawing, TheSystemsLanguageChoosesTheTableAndTheDirectionAlike) {
  const std::vector<std::pair<std::string, DrawnText>> cases = {
      {"iw", {"הוספת עסקה", "he", true}},
      {"iw-IL", {"הוספת עסקה", "he", true}},
      {"pt-PT", {"Adicionar transação", "pt-BR", false}},
      // No table for Persian or Urdu: English, left to right, as on the phone.
      {"fa", {"Add Transaction", "en", false}},
      {"ur-PK", {"Add Transaction", "en", false}},
      {"zh-Hant", {"Add Transaction", "en", false}},
      {"ar-XB", {"\u202EAdd Transaction\u202C", "ar-XB", true}},
  };
  for (const auto& [system, title] : cases) {
    auto drawn = quickAdd(shipped().withPreferredLanguages({system}).device());
    ASSERT_EQ(drawn.size(), 2u) << system;
    EXPECT_EQ(drawn[0], (DrawnText{"+", title.language, title.rightToLeft})) << system;
    EXPECT_EQ(drawn[1], title) << system;
  }
}

}  // namespace
}  // namespace host
