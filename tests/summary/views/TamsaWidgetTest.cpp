// The summary widget's configuration: its families, and which gallery texts follow the
// language recorded by the app (the description) and which the system's (the display name).
#include "summary/views/TamsaWidget.h"

#include <gtest/gtest.h>

#include "support/TestDevice.h"

namespace tamsa {
namespace {

using widgetkit::WidgetFamily;

TEST(TamsaWidgetConfiguration, SmallAndMediumWithTheNameInTheSystemsLanguage) {
  testing_support::TestDevice t;
  t.withTable("en", {{"Tamsa", "Tamsa Summary"}, {"widget_summary_description", "At a glance"}})
      .withTable("de", {{"widget_summary_description", "Auf einen Blick"}});
  auto d = t.withStore({{"widget_language", std::string("de")}}).device();
  auto c = TamsaWidget{}.body(d);
  EXPECT_EQ(c.families(), (std::vector{WidgetFamily::systemSmall, WidgetFamily::systemMedium}));
  EXPECT_EQ(c.description(), "Auf einen Blick");
  // A key the host looks up in the system's language, not the recorded one.
  EXPECT_EQ(c.displayName(),
            widgetkit::WidgetConfiguration::DisplayName(swiftui::LocalizedStringKey{"Tamsa"}));
}

}  // namespace
}  // namespace tamsa
