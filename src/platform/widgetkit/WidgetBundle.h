// A widget bundle: what an extension declares, built the way the bundle builder builds it, and
// the hand-over of the process to the widget host (WidgetBundle.main()).
#pragma once

#include <functional>
#include <optional>
#include <variant>
#include <vector>

#include "platform/device/Device.h"
#include "platform/widgetkit/ControlConfiguration.h"
#include "platform/widgetkit/WidgetConfiguration.h"

namespace widgetkit {

using WidgetBundleMember = std::variant<WidgetConfiguration, ControlConfiguration>;

// A block of members (buildBlock).
struct WidgetBundleBlock {
  std::vector<WidgetBundleMember> members;
};

// Content that exists only from some system version on (LimitedAvailabilityWidget).
struct LimitedAvailabilityWidget {
  WidgetBundleBlock content;
};

using WidgetBundleSlot =
    std::variant<WidgetConfiguration, WidgetBundleBlock, LimitedAvailabilityWidget>;

// The bundle's body: its slots in order (TupleWidget).
struct TupleWidget {
  std::vector<WidgetBundleSlot> slots;

  // What the host sees: every widget and control, in declaration order.
  std::vector<WidgetBundleMember> declared() const;
};

namespace WidgetBundleBuilder {

WidgetBundleBlock buildBlock(std::vector<WidgetBundleMember> members);
LimitedAvailabilityWidget buildLimitedAvailability(WidgetBundleBlock content);
// The optional slot of an `if #available` without else: below iOS 16.1 an empty block whatever
// the slot holds; from it on the slot's wrapper, or a wrapper around an empty block when the slot
// is empty.
WidgetBundleSlot buildOptional(const device::Device& device,
                               std::optional<LimitedAvailabilityWidget> content);

}  // namespace WidgetBundleBuilder

// _ControlWidgetAdaptor: a control made a member of a widget bundle.
inline WidgetBundleMember controlWidgetAdaptor(ControlConfiguration control) {
  return WidgetBundleMember(std::move(control));
}

using WidgetBundleBody = std::function<TupleWidget(const device::Device&)>;

// Provided by the widget host the extension runs in: takes the process over, evaluates the body
// once on the device it sets up, serves requests, and returns the process's exit status.
int runExtensionHost(int argc, char** argv, const WidgetBundleBody& body);

// WidgetBundle.main() for a bundle type with a `body(const device::Device&)`.
template <class Bundle>
int widgetBundleMain(int argc, char** argv) {
  return runExtensionHost(argc, argv, [](const device::Device& d) { return Bundle{}.body(d); });
}

}  // namespace widgetkit
