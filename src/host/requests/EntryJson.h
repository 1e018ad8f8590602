// The host's JSON reports of entries and timelines. Dates are UTC "YYYY-MM-DDTHH:MM:SS.mmmZ";
// amounts that JSON cannot hold as numbers (not a number, infinities) are the strings "NaN",
// "Infinity" and "-Infinity".
#pragma once

#include <nlohmann/json.hpp>

#include "platform/widgetkit/TimelineEntry.h"

namespace host {

nlohmann::ordered_json entryJson(const widgetkit::AnyTimelineEntry& entry);
nlohmann::ordered_json policyJson(const widgetkit::TimelineReloadPolicy& policy);
nlohmann::ordered_json timelineJson(const widgetkit::AnyTimeline& timeline);

}  // namespace host
