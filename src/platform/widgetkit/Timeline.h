// WidgetKit's timeline types: the reload policy, the timeline of entries, the context of a
// request, and the provider contract the host calls. Values throughout.
#pragma once

#include <functional>
#include <optional>
#include <variant>
#include <vector>

#include "platform/device/Device.h"
#include "platform/foundation/Date.h"
#include "platform/swiftui/Geometry.h"
#include "platform/swiftui/WidgetFamily.h"

namespace widgetkit {

using WidgetFamily = swiftui::WidgetFamily;

// When the host may ask for the next timeline.
class TimelineReloadPolicy {
 public:
  struct AtEnd {
    bool operator==(const AtEnd&) const = default;
  };
  struct After {
    foundation::Date date;
    bool operator==(const After&) const = default;
  };
  struct Never {
    bool operator==(const Never&) const = default;
  };

  static TimelineReloadPolicy atEnd() { return TimelineReloadPolicy(AtEnd{}); }
  static TimelineReloadPolicy after(foundation::Date date) {
    return TimelineReloadPolicy(After{date});
  }
  static TimelineReloadPolicy never() { return TimelineReloadPolicy(Never{}); }

  const std::variant<AtEnd, After, Never>& kind() const { return kind_; }
  // The date of an `after` policy.
  std::optional<foundation::Date> afterDate() const {
    if (auto* a = std::get_if<After>(&kind_)) return a->date;
    return std::nullopt;
  }
  bool operator==(const TimelineReloadPolicy&) const = default;

 private:
  explicit TimelineReloadPolicy(std::variant<AtEnd, After, Never> kind) : kind_(kind) {}
  std::variant<AtEnd, After, Never> kind_;
};

template <class Entry>
struct Timeline {
  std::vector<Entry> entries;
  TimelineReloadPolicy policy = TimelineReloadPolicy::atEnd();
  bool operator==(const Timeline&) const = default;
};

using Size = swiftui::Size;

// What the host says about a request. `device` is the device the extension runs on; the host
// keeps it alive for the whole request.
struct TimelineProviderContext {
  const device::Device& device;
  bool isPreview = false;
  WidgetFamily family = WidgetFamily::systemSmall;
  Size displaySize{};
};

// The contract of a timeline provider, for entry type Entry. Each completion is called exactly
// once, on the calling thread, before the operation returns.
template <class Entry>
class TimelineProvider {
 public:
  using EntryType = Entry;
  virtual ~TimelineProvider() = default;
  virtual Entry placeholder(const TimelineProviderContext& context) const = 0;
  virtual void getSnapshot(const TimelineProviderContext& context,
                           const std::function<void(Entry)>& completion) const = 0;
  virtual void getTimeline(const TimelineProviderContext& context,
                           const std::function<void(Timeline<Entry>)>& completion) const = 0;
};

}  // namespace widgetkit
