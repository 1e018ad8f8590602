// The quick-add widget's timeline entry and provider: one entry dated now, never reloaded. The
// widget's content never changes, so the request's context is ignored. Stateless.
#pragma once

#include <vector>

#include "platform/foundation/Date.h"
#include "platform/widgetkit/Timeline.h"
#include "platform/widgetkit/TimelineEntry.h"

namespace tamsa {

struct TamsaAddEntry {
  foundation::Date date;
  bool operator==(const TamsaAddEntry&) const = default;
};

std::vector<widgetkit::EntryField> entryFields(const TamsaAddEntry& entry);

class TamsaAddProvider final : public widgetkit::TimelineProvider<TamsaAddEntry> {
 public:
  TamsaAddEntry placeholder(const widgetkit::TimelineProviderContext& context) const override;
  void getSnapshot(const widgetkit::TimelineProviderContext& context,
                   const std::function<void(TamsaAddEntry)>& completion) const override;
  void getTimeline(
      const widgetkit::TimelineProviderContext& context,
      const std::function<void(widgetkit::Timeline<TamsaAddEntry>)>& completion) const override;
};

}  // namespace tamsa
