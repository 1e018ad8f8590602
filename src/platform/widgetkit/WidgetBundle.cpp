#include "platform/widgetkit/WidgetBundle.h"

namespace widgetkit {

std::vector<WidgetBundleMember> TupleWidget::declared() const {
  std::vector<WidgetBundleMember> out;
  auto addBlock = [&](const WidgetBundleBlock& block) {
    out.insert(out.end(), block.members.begin(), block.members.end());
  };
  for (const auto& slot : slots) {
    if (auto* w = std::get_if<WidgetConfiguration>(&slot)) out.emplace_back(*w);
    if (auto* b = std::get_if<WidgetBundleBlock>(&slot)) addBlock(*b);
    if (auto* l = std::get_if<LimitedAvailabilityWidget>(&slot)) addBlock(l->content);
  }
  return out;
}

namespace WidgetBundleBuilder {

WidgetBundleBlock buildBlock(std::vector<WidgetBundleMember> members) {
  return WidgetBundleBlock{std::move(members)};
}

LimitedAvailabilityWidget buildLimitedAvailability(WidgetBundleBlock content) {
  return LimitedAvailabilityWidget{std::move(content)};
}

WidgetBundleSlot buildOptional(const device::Device& device,
                               std::optional<LimitedAvailabilityWidget> content) {
  bool available = device.systemVersion && *device.systemVersion >= os::SystemVersion{16, 1, 0};
  if (!available) return WidgetBundleBlock{};
  if (content) return std::move(*content);
  return buildLimitedAvailability(WidgetBundleBlock{});
}

}  // namespace WidgetBundleBuilder
}  // namespace widgetkit
