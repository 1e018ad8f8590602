#include "summary/data/TamsaProvider.h"

#include "platform/foundation/Calendar.h"
#include "summary/data/SummaryLoader.h"

namespace tamsa {

TamsaSummaryEntry TamsaProvider::placeholder(
    const widgetkit::TimelineProviderContext& context) const {
  return sampleSummaryEntry(*context.device.clock);
}

void TamsaProvider::getSnapshot(const widgetkit::TimelineProviderContext& context,
                                const std::function<void(TamsaSummaryEntry)>& completion) const {
  if (context.isPreview) {
    completion(sampleSummaryEntry(*context.device.clock));
  } else {
    completion(loadSummaryEntry(context.device));
  }
}

void TamsaProvider::getTimeline(
    const widgetkit::TimelineProviderContext& context,
    const std::function<void(widgetkit::Timeline<TamsaSummaryEntry>)>& completion) const {
  const device::Device& device = context.device;
  TamsaSummaryEntry entry = loadSummaryEntry(device);
  foundation::Calendar calendar(device.timeZoneIdentifier);
  auto nextReload = calendar.dateByAdding(foundation::CalendarComponent::hour, 1, device.now());
  if (!nextReload) nextReload = device.now();
  completion(widgetkit::Timeline<TamsaSummaryEntry>{
      {std::move(entry)}, widgetkit::TimelineReloadPolicy::after(*nextReload)});
}

}  // namespace tamsa
