#include "entry/bundle/TamsaWidgetBundle.h"

#include <gtest/gtest.h>

#include "shared/SystemVersionCheck.h"
#include "support/TestDevice.h"

namespace tamsa {
namespace {

using os::SystemVersion;

device::Device on(std::optional<SystemVersion> version) {
  device::Device d = testing_support::TestDevice().device();
  d.systemVersion = version;
  return d;
}

// The control slot: an empty block below 16.1, an empty limited-availability wrapper up to 17.x,
// and from 18.0 the wrapper around the control, declared after the two widgets.
TEST(TamsaWidgetBundle, DeclaresBothWidgetsAndTheControlFrom18) {
  for (auto [version, slot] :
       std::vector<std::pair<std::optional<SystemVersion>, int>>{{std::nullopt, 0},
                                                                 {SystemVersion{16, 0, 9}, 0},
                                                                 {SystemVersion{16, 1, 0}, 1},
                                                                 {SystemVersion{17, 99, 99}, 1},
                                                                 {SystemVersion{18, 0, 0}, 2},
                                                                 {SystemVersion{26, 1, 0}, 2}}) {
    std::vector<std::string> kinds;
    for (const auto& m : TamsaWidgetBundle{}.body(on(version)).declared())
      kinds.push_back(std::visit([](const auto& c) { return c.kind(); }, m));
    std::vector<std::string> expected = {"TamsaWidget", "TamsaAddTransactionWidget"};
    if (slot == 2) expected.push_back("com.tamsaledger.app.AddTransactionControl");
    EXPECT_EQ(kinds, expected) << (version ? version->text() : "unknown");
    auto s = controlSlot(on(version));
    auto* wrapper = std::get_if<widgetkit::LimitedAvailabilityWidget>(&s);
    ASSERT_EQ(wrapper != nullptr, slot > 0);
    auto members =
        wrapper ? wrapper->content.members : std::get<widgetkit::WidgetBundleBlock>(s).members;
    EXPECT_EQ(members.size(), slot == 2 ? 1u : 0u);
  }
}

TEST(SystemVersionAtLeast, ComparesMajorThenMinorThenPatch) {
  auto at = [](std::optional<SystemVersion> v, int major, int minor, int patch) {
    return systemVersionAtLeast(on(v), os::Platform::iOS, major, minor, patch);
  };
  EXPECT_TRUE(at(SystemVersion{17, 1, 0}, 17, 0, 5));
  EXPECT_TRUE(at(SystemVersion{17, 0, 5}, 17, 0, 5));
  EXPECT_FALSE(at(SystemVersion{17, 0, 4}, 17, 0, 5));
  EXPECT_FALSE(at(std::nullopt, 0, 0, 0));
}

}  // namespace
}  // namespace tamsa
