#include "entry/bundle/TamsaWidgetBundle.h"

#include <gtest/gtest.h>

#include "shared/SystemVersionCheck.h"
#include "support/TestDevice.h"

namespace tamsa {
namespace {

using testing_support::TestDevice;

std::vector<std::string> declaredKinds(const device::Device& d) {
  std::vector<std::string> kinds;
  for (const auto& m : TamsaWidgetBundle{}.body(d).declared())
    kinds.push_back(std::visit([](const auto& c) { return c.kind(); }, m));
  return kinds;
}

device::Device onVersion(const TestDevice& t, std::optional<os::SystemVersion> v) {
  auto d = t.device();
  d.systemVersion = v;
  return d;
}

TEST(TamsaWidgetBundle, DeclaresInOrderAndOffersTheControlFrom18) {
  TestDevice t;
  const std::vector<std::string> widgets = {"TamsaWidget", "TamsaAddTransactionWidget"};
  auto withControl = widgets;
  withControl.push_back("com.tamsaledger.app.AddTransactionControl");
  struct Case {
    std::optional<os::SystemVersion> version;
    bool control;
  };
  for (auto [version, control] : std::vector<Case>{{os::SystemVersion{15, 6, 0}, false},
                                                   {os::SystemVersion{16, 0, 0}, false},
                                                   {os::SystemVersion{16, 1, 0}, false},
                                                   {os::SystemVersion{17, 0, 0}, false},
                                                   {os::SystemVersion{17, 5, 0}, false},
                                                   {os::SystemVersion{17, 99, 99}, false},
                                                   {os::SystemVersion{18, 0, 0}, true},
                                                   {os::SystemVersion{26, 1, 0}, true},
                                                   {std::nullopt, false}}) {
    EXPECT_EQ(declaredKinds(onVersion(t, version)), control ? withControl : widgets)
        << (version ? version->text() : "unknown");
  }
}

TEST(TamsaWidgetBundle, ControlSlotShapeFollowsTheBuilderSteps) {
  TestDevice t;
  auto slot = [&](std::optional<os::SystemVersion> v) { return controlSlot(onVersion(t, v)); };
  // Below 16.1: an empty block.
  for (auto v : {std::optional(os::SystemVersion{16, 0, 0}), std::optional<os::SystemVersion>()}) {
    auto s = slot(v);
    ASSERT_TRUE(std::holds_alternative<widgetkit::WidgetBundleBlock>(s));
    EXPECT_TRUE(std::get<widgetkit::WidgetBundleBlock>(s).members.empty());
  }
  // 16.1 to 17.x: a limited-availability wrapper around an empty block.
  for (auto v : {os::SystemVersion{16, 1, 0}, os::SystemVersion{17, 4, 1}}) {
    auto s = slot(v);
    ASSERT_TRUE(std::holds_alternative<widgetkit::LimitedAvailabilityWidget>(s));
    EXPECT_TRUE(std::get<widgetkit::LimitedAvailabilityWidget>(s).content.members.empty());
  }
  // 18.0: the wrapper holds the control alone.
  auto s = slot(os::SystemVersion{18, 0, 0});
  ASSERT_TRUE(std::holds_alternative<widgetkit::LimitedAvailabilityWidget>(s));
  const auto& members = std::get<widgetkit::LimitedAvailabilityWidget>(s).content.members;
  ASSERT_EQ(members.size(), 1u);
  EXPECT_TRUE(std::holds_alternative<widgetkit::ControlConfiguration>(members[0]));
}

TEST(SystemVersionAtLeast, ComparesPatchOnlyWhenMajorAndMinorAreEqual) {
  TestDevice t;
  auto at = [&](std::optional<os::SystemVersion> v, int major, int minor, int patch) {
    return systemVersionAtLeast(onVersion(t, v), os::Platform::iOS, major, minor, patch);
  };
  EXPECT_TRUE(at(os::SystemVersion{17, 1, 0}, 17, 0, 5));
  EXPECT_TRUE(at(os::SystemVersion{17, 0, 5}, 17, 0, 5));
  EXPECT_FALSE(at(os::SystemVersion{17, 0, 4}, 17, 0, 5));
  EXPECT_FALSE(at(os::SystemVersion{16, 9, 9}, 17, 0, 0));
  EXPECT_TRUE(at(os::SystemVersion{18, 0, 0}, 17, 9, 9));
  EXPECT_FALSE(at(std::nullopt, 0, 0, 0));
}

}  // namespace
}  // namespace tamsa
