// What the host learns of a timeline entry without knowing its type: its date, its fields by
// name (for reports), and the entry itself for the widget's content builder.
#pragma once

#include <memory>
#include <string>
#include <typeinfo>
#include <variant>
#include <vector>

#include "platform/foundation/Date.h"
#include "platform/widgetkit/Timeline.h"

namespace widgetkit {

struct Null {
  bool operator==(const Null&) const = default;
};
using FieldValue = std::variant<Null, bool, double, std::string, foundation::Date>;

struct EntryField {
  std::string name;
  FieldValue value;
  bool operator==(const EntryField&) const = default;
};

// An entry type tells its fields by an overload `entryFields(const Entry&)` found by lookup in
// the entry's namespace, in declaration order.
class AnyTimelineEntry {
 public:
  template <class Entry>
  explicit AnyTimelineEntry(Entry entry)
      : date_(entry.date),
        fields_(entryFields(entry)),
        type_(&typeid(Entry)),
        entry_(std::make_shared<const Entry>(std::move(entry))) {}

  foundation::Date date() const { return date_; }
  const std::vector<EntryField>& fields() const { return fields_; }
  // The entry, when it is of type Entry; else null.
  template <class Entry>
  const Entry* as() const {
    return *type_ == typeid(Entry) ? static_cast<const Entry*>(entry_.get()) : nullptr;
  }

 private:
  foundation::Date date_;
  std::vector<EntryField> fields_;
  const std::type_info* type_;
  std::shared_ptr<const void> entry_;
};

struct AnyTimeline {
  std::vector<AnyTimelineEntry> entries;
  TimelineReloadPolicy policy = TimelineReloadPolicy::atEnd();
};

}  // namespace widgetkit
