// Compares two layout reports of the same cell by what they mean, and says each difference in
// words a person reads in a CI log: nodes added or removed, a text's string or drawn text, its
// font size and weight, colour, lines, shrunk or cut state and missing glyphs, any other field a
// node carries, and frames of what is drawn (texts, images, fills) moved or resized by more than a
// quarter point. Children are matched in order by type and content, so one inserted node reads as
// one addition, not as every later sibling changed. Pure functions; thread-safe.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace host {

// Frames that move or change size by at most this many points are the same.
inline constexpr double kFrameSlack = 0.25;

// The differences from `reference` to `actual`, in the order of the picture's tree; empty when
// they mean the same. Either may be malformed: what cannot be read is compared as it is.
std::vector<std::string> compareMeaning(const nlohmann::json& reference,
                                        const nlohmann::json& actual);

}  // namespace host
