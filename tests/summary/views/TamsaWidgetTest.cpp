// The summary widget's configuration: kind, families, and which gallery texts follow the
// language recorded by the app (the description) and which the system's (the display name).
#include "summary/views/TamsaWidget.h"

#include <gtest/gtest.h>

#include "platform/foundation/Bundle.h"
#include "platform/swiftui/Layout.h"
#include "support/TestDevice.h"

namespace tamsa {
namespace {

using testing_support::TestDevice;
using widgetkit::WidgetFamily;

TestDevice bilingual() {
  TestDevice t;
  t.withTable("en", {{"Tamsa", "Tamsa Summary"}, {"widget_summary_description", "At a glance"}})
      .withTable("de",
                 {{"Tamsa", "Tamsa Übersicht"}, {"widget_summary_description", "Auf einen Blick"}})
      .withPreferredLanguages({"en"});
  return t;
}

// What the host shows for a display name: a key resolved in the system's language, or the text.
std::string shownName(const widgetkit::WidgetConfiguration& c, const device::Device& d) {
  if (auto* key = std::get_if<swiftui::LocalizedStringKey>(&c.displayName()))
    return foundation::NSLocalizedString(d.mainBundle, key->key);
  return std::get<std::string>(c.displayName());
}

TEST(TamsaWidgetConfiguration, KindAndExactlySmallAndMedium) {
  device::Device d = bilingual().device();
  auto c = TamsaWidget{}.body(d);
  EXPECT_EQ(TamsaWidget{}.kind, "TamsaWidget");
  EXPECT_EQ(c.kind(), "TamsaWidget");
  EXPECT_EQ(c.families(), (std::vector{WidgetFamily::systemSmall, WidgetFamily::systemMedium}));
  EXPECT_FALSE(c.supports(WidgetFamily::systemLarge));
  EXPECT_FALSE(c.supports(WidgetFamily::accessoryRectangular));
}

TEST(TamsaWidgetConfiguration, DescriptionFollowsTheAppLanguageButTheNameDoesNot) {
  TestDevice t = bilingual();
  device::Device system = t.device();
  auto plain = TamsaWidget{}.body(system);
  EXPECT_EQ(plain.description(), "At a glance");
  EXPECT_EQ(shownName(plain, system), "Tamsa Summary");

  t.withStore({{"widget_language", std::string("de")}});
  device::Device overridden = t.device();
  auto german = TamsaWidget{}.body(overridden);
  EXPECT_EQ(german.description(), "Auf einen Blick");
  EXPECT_EQ(german.displayName(),
            widgetkit::WidgetConfiguration::DisplayName(swiftui::LocalizedStringKey{"Tamsa"}));
  EXPECT_EQ(shownName(german, overridden), "Tamsa Summary");
}

TEST(TamsaWidgetConfiguration, ContentOfATimelineEntryOpensTheWidgetLink) {
  device::Device d = bilingual().device();
  auto c = TamsaWidget{}.body(d);
  swiftui::EnvironmentValues env;
  auto timeline = c.timeline(widgetkit::TimelineProviderContext{d});
  ASSERT_EQ(timeline.entries.size(), 1u);
  EXPECT_EQ(swiftui::inspect(c.content(timeline.entries[0]), env).widgetURL,
            std::optional<std::string>("tamsaledger://widget"));
}

}  // namespace
}  // namespace tamsa
