// The summary widget's timeline provider: the sample entry for placeholders and previews, the
// store's entry for everything else, and a timeline of one entry to be reloaded an hour later.
// Stateless; the host may call it from any thread.
#pragma once

#include "platform/widgetkit/Timeline.h"
#include "summary/data/TamsaSummaryEntry.h"

namespace tamsa {

class TamsaProvider final : public widgetkit::TimelineProvider<TamsaSummaryEntry> {
 public:
  TamsaSummaryEntry placeholder(const widgetkit::TimelineProviderContext& context) const override;
  void getSnapshot(const widgetkit::TimelineProviderContext& context,
                   const std::function<void(TamsaSummaryEntry)>& completion) const override;
  void getTimeline(
      const widgetkit::TimelineProviderContext& context,
      const std::function<void(widgetkit::Timeline<TamsaSummaryEntry>)>& completion) const override;
};

}  // namespace tamsa
