// A widget's configuration as the host sees it (StaticConfiguration and its modifiers): its kind,
// the name and description the gallery shows, the families it is offered in, its provider's three
// requests, and the content builder, with the entry type erased. Built by a widget's body; a
// value.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/swiftui/View.h"
#include "platform/widgetkit/Timeline.h"
#include "platform/widgetkit/TimelineEntry.h"

namespace widgetkit {

class WidgetConfiguration {
 public:
  // A name the host resolves in the system's language, or a finished text.
  using DisplayName = std::variant<swiftui::LocalizedStringKey, std::string>;

  // StaticConfiguration(kind:provider:content:); content is called once per entry the host
  // renders, with that entry.
  template <class Provider, class Content>
  static WidgetConfiguration staticConfiguration(std::string kind, Provider provider,
                                                 Content content) {
    using Entry = typename Provider::EntryType;
    WidgetConfiguration c;
    c.kind_ = std::move(kind);
    c.displayName_ = c.kind_;
    c.content_ = [content = std::move(content)](const AnyTimelineEntry& entry) {
      const Entry* typed = entry.as<Entry>();
      return typed ? swiftui::View(content(*typed)) : swiftui::View();
    };
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

  WidgetConfiguration configurationDisplayName(DisplayName name) && {
    displayName_ = std::move(name);
    return std::move(*this);
  }
  WidgetConfiguration description(std::string text) && {
    description_ = std::move(text);
    return std::move(*this);
  }
  WidgetConfiguration supportedFamilies(std::vector<WidgetFamily> families) && {
    families_ = std::move(families);
    return std::move(*this);
  }

  const std::string& kind() const { return kind_; }
  const DisplayName& displayName() const { return displayName_; }
  const std::string& description() const { return description_; }
  const std::vector<WidgetFamily>& families() const { return families_; }
  bool supports(WidgetFamily family) const {
    return std::find(families_.begin(), families_.end(), family) != families_.end();
  }

  AnyTimelineEntry placeholder(const TimelineProviderContext& ctx) const {
    return placeholder_(ctx);
  }
  AnyTimelineEntry snapshot(const TimelineProviderContext& ctx) const { return snapshot_(ctx); }
  AnyTimeline timeline(const TimelineProviderContext& ctx) const { return timeline_(ctx); }
  // The view for an entry of this widget; an empty view for an entry of another type.
  swiftui::View content(const AnyTimelineEntry& entry) const { return content_(entry); }

 private:
  std::string kind_;
  DisplayName displayName_;
  std::string description_;
  std::vector<WidgetFamily> families_ = {WidgetFamily::systemSmall, WidgetFamily::systemMedium,
                                         WidgetFamily::systemLarge};
  std::function<AnyTimelineEntry(const TimelineProviderContext&)> placeholder_;
  std::function<AnyTimelineEntry(const TimelineProviderContext&)> snapshot_;
  std::function<AnyTimeline(const TimelineProviderContext&)> timeline_;
  std::function<swiftui::View(const AnyTimelineEntry&)> content_;
};

}  // namespace widgetkit
