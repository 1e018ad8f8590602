#include "host/requests/EntryJson.h"

#include <cmath>

namespace host {
namespace {

nlohmann::ordered_json valueJson(const widgetkit::FieldValue& value) {
  struct Visitor {
    nlohmann::ordered_json operator()(widgetkit::Null) const { return nullptr; }
    nlohmann::ordered_json operator()(bool b) const { return b; }
    nlohmann::ordered_json operator()(double d) const {
      if (std::isnan(d)) return "NaN";
      if (std::isinf(d)) return d > 0 ? "Infinity" : "-Infinity";
      return d;
    }
    nlohmann::ordered_json operator()(const std::string& s) const { return s; }
    nlohmann::ordered_json operator()(foundation::Date d) const { return foundation::iso8601(d); }
  };
  return std::visit(Visitor{}, value);
}

}  // namespace

nlohmann::ordered_json entryJson(const widgetkit::AnyTimelineEntry& entry) {
  nlohmann::ordered_json out = nlohmann::ordered_json::object();
  for (const auto& field : entry.fields()) out[field.name] = valueJson(field.value);
  return out;
}

nlohmann::ordered_json policyJson(const widgetkit::TimelineReloadPolicy& policy) {
  struct Visitor {
    nlohmann::ordered_json operator()(const widgetkit::TimelineReloadPolicy::AtEnd&) const {
      return {{"type", "atEnd"}};
    }
    nlohmann::ordered_json operator()(const widgetkit::TimelineReloadPolicy::After& a) const {
      return {{"type", "after"}, {"date", foundation::iso8601(a.date)}};
    }
    nlohmann::ordered_json operator()(const widgetkit::TimelineReloadPolicy::Never&) const {
      return {{"type", "never"}};
    }
  };
  return std::visit(Visitor{}, policy.kind());
}

nlohmann::ordered_json timelineJson(const widgetkit::AnyTimeline& timeline) {
  nlohmann::ordered_json entries = nlohmann::ordered_json::array();
  for (const auto& e : timeline.entries) entries.push_back(entryJson(e));
  return {{"entries", entries}, {"policy", policyJson(timeline.policy)}};
}

}  // namespace host
