// A widget's configuration as the host sees it: its kind, the families it is offered in, and its
// provider's three requests with the entries' types erased. Built by a widget's body; a value.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/widgetkit/Timeline.h"
#include "platform/widgetkit/TimelineEntry.h"

namespace widgetkit {

class WidgetConfiguration {
 public:
  // StaticConfiguration(kind:provider:content:), for now without its content.
  template <class Provider>
  static WidgetConfiguration staticConfiguration(std::string kind, Provider provider) {
    using Entry = typename Provider::EntryType;
    WidgetConfiguration c;
    c.kind_ = std::move(kind);
    auto shared = std::make_shared<const Provider>(std::move(provider));
    c.placeholder_ = [shared](const TimelineProviderContext& ctx) {
      return AnyTimelineEntry(shared->placeholder(ctx));
    };
    c.snapshot_ = [shared](const TimelineProviderContext& ctx) {
      std::optional<AnyTimelineEntry> out;
      shared->getSnapshot(ctx, [&](Entry e) { out.emplace(std::move(e)); });
      return std::move(*out);
    };
    c.timeline_ = [shared](const TimelineProviderContext& ctx) {
      AnyTimeline out;
      shared->getTimeline(ctx, [&](Timeline<Entry> t) {
        for (auto& e : t.entries) out.entries.emplace_back(std::move(e));
        out.policy = t.policy;
      });
      return out;
    };
    return c;
  }

  WidgetConfiguration supportedFamilies(std::vector<WidgetFamily> families) && {
    families_ = std::move(families);
    return std::move(*this);
  }

  const std::string& kind() const { return kind_; }
  const std::vector<WidgetFamily>& families() const { return families_; }

  AnyTimelineEntry placeholder(const TimelineProviderContext& ctx) const {
    return placeholder_(ctx);
  }
  AnyTimelineEntry snapshot(const TimelineProviderContext& ctx) const { return snapshot_(ctx); }
  AnyTimeline timeline(const TimelineProviderContext& ctx) const { return timeline_(ctx); }

 private:
  std::string kind_;
  std::vector<WidgetFamily> families_ = {WidgetFamily::systemSmall, WidgetFamily::systemMedium,
                                         WidgetFamily::systemLarge};
  std::function<AnyTimelineEntry(const TimelineProviderContext&)> placeholder_;
  std::function<AnyTimelineEntry(const TimelineProviderContext&)> snapshot_;
  std::function<AnyTimeline(const TimelineProviderContext&)> timeline_;
};

}  // namespace widgetkit
