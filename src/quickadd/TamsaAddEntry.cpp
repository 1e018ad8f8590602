#include "quickadd/TamsaAddEntry.h"

namespace tamsa {

std::vector<widgetkit::EntryField> entryFields(const TamsaAddEntry& entry) {
  return {{"date", entry.date}};
}

TamsaAddEntry TamsaAddProvider::placeholder(const widgetkit::TimelineProviderContext& ctx) const {
  return TamsaAddEntry{ctx.device.now()};
}

void TamsaAddProvider::getSnapshot(const widgetkit::TimelineProviderContext& ctx,
                                   const std::function<void(TamsaAddEntry)>& completion) const {
  completion(TamsaAddEntry{ctx.device.now()});
}

void TamsaAddProvider::getTimeline(
    const widgetkit::TimelineProviderContext& ctx,
    const std::function<void(widgetkit::Timeline<TamsaAddEntry>)>& completion) const {
  completion(widgetkit::Timeline<TamsaAddEntry>{{TamsaAddEntry{ctx.device.now()}},
                                                widgetkit::TimelineReloadPolicy::never()});
}

}  // namespace tamsa
