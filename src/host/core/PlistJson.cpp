#include "host/core/PlistJson.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "platform/foundation/Unicode.h"

namespace host {
namespace {

using foundation::PlistValue;
using nlohmann::json;

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Strict: padded to a multiple of four, padding only at the end, no other characters.
std::optional<std::string> fromBase64(const std::string& text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::string out;
  for (std::size_t i = 0; i < text.size(); i += 4) {
    int padding = 0;
    if (i + 4 == text.size() && text[i + 3] == '=') padding = text[i + 2] == '=' ? 2 : 1;
    std::uint32_t n = 0;
    for (int k = 0; k < 4; ++k) {
      n <<= 6;
      if (k >= 4 - padding) continue;
      char c = text[i + static_cast<std::size_t>(k)];
      const char* at = c ? std::strchr(kBase64, c) : nullptr;
      if (!at) return std::nullopt;
      n |= static_cast<std::uint32_t>(at - kBase64);
    }
    out += static_cast<char>(n >> 16);
    if (padding < 2) out += static_cast<char>((n >> 8) & 0xFF);
    if (padding < 1) out += static_cast<char>(n & 0xFF);
  }
  return out;
}

bool isTag(const std::string& key) {
  return key == "date" || key == "data" || key == "real" || key == "dictionary" || key == "CF$UID";
}

// A date as ISO 8601 text when it has one that reads back the same; else as what the binary form
// holds, seconds since 2001 (not finite: as a real is shown).
json dateJson(foundation::PlistDate date) {
  if (auto text = foundation::plistDateText(date)) return {{"date", *text}};
  const double x = date.secondsSince2001;
  if (std::isfinite(x)) return {{"date", x}};
  return {{"date", std::isnan(x) ? "NaN" : x > 0 ? "Infinity" : "-Infinity"}};
}

std::optional<double> nonFinite(const std::string& word) {
  if (word == "NaN") return std::numeric_limits<double>::quiet_NaN();
  if (word == "Infinity") return std::numeric_limits<double>::infinity();
  if (word == "-Infinity") return -std::numeric_limits<double>::infinity();
  return std::nullopt;
}

Failure bad(const std::string& where, const std::string& what) {
  return Failure::usage(where + ": " + what);
}

Result<PlistValue> tagged(const std::string& tag, const json& content, const std::string& where,
                          int depth);

// `depth` counts the containers around j, the suite's dictionary included, so that what converts
// is what the writer writes.
Result<PlistValue> convert(const json& j, const std::string& where, int depth) {
  const bool container =
      j.is_array() || (j.is_object() && !(j.size() == 1 && isTag(j.begin().key()) &&
                                          j.begin().key() != "dictionary"));
  if (container && depth >= foundation::maxPropertyListDepth)
    return bad(where, "nested deeper than a property list may (" +
                          std::to_string(foundation::maxPropertyListDepth) + ")");
  switch (j.type()) {
    case json::value_t::boolean:
      return PlistValue{j.get<bool>()};
    case json::value_t::number_integer:
      return PlistValue{foundation::PlistInteger{j.get<std::int64_t>(), false}};
    case json::value_t::number_unsigned: {
      auto u = j.get<std::uint64_t>();
      return PlistValue{foundation::PlistInteger{static_cast<std::int64_t>(u),
                                                 u > std::numeric_limits<std::int64_t>::max()}};
    }
    case json::value_t::number_float:
      return PlistValue{j.get<double>()};
    case json::value_t::string:
      return PlistValue{j.get<std::string>()};
    case json::value_t::array: {
      foundation::PlistArray a;
      for (std::size_t i = 0; i < j.size(); ++i) {
        auto v = convert(j[i], where + "[" + std::to_string(i) + "]", depth + 1);
        if (!v) return v;
        a.push_back(std::move(*v));
      }
      return PlistValue{std::move(a)};
    }
    case json::value_t::object: {
      if (j.size() == 1 && isTag(j.begin().key()))
        return tagged(j.begin().key(), j.begin().value(), where, depth);
      foundation::PlistDictionary d;
      for (const auto& [key, element] : j.items()) {
        auto v = convert(element, where + "." + key, depth + 1);
        if (!v) return v;
        d.emplace(key, std::move(*v));
      }
      return PlistValue{std::move(d)};
    }
    default:
      return bad(where, "null is not a value the store can hold (delete the key instead)");
  }
}

Result<PlistValue> tagged(const std::string& tag, const json& content, const std::string& where,
                          int depth) {
  if (tag == "dictionary") {
    if (!content.is_object()) return bad(where, "{\"dictionary\": ...} takes an object");
    foundation::PlistDictionary d;
    for (const auto& [key, element] : content.items()) {
      auto v = convert(element, where + "." + key, depth + 1);
      if (!v) return v;
      d.emplace(key, std::move(*v));
    }
    return PlistValue{std::move(d)};
  }
  if (tag == "real") {
    if (content.is_number()) return PlistValue{content.get<double>()};
    if (auto v = nonFinite(content.is_string() ? content.get<std::string>() : ""))
      return PlistValue{*v};
    return bad(where, "{\"real\": ...} takes a number, \"NaN\", \"Infinity\" or \"-Infinity\"");
  }
  if (tag == "CF$UID") {
    if (content.is_number_unsigned() ||
        (content.is_number_integer() && content.get<std::int64_t>() >= 0))
      return PlistValue{foundation::PlistUid{content.get<std::uint64_t>()}};
    return bad(where, "{\"CF$UID\": ...} takes an integer from 0 to 2^64-1");
  }
  const std::string text = content.is_string() ? content.get<std::string>() : "";
  if (tag == "date") {
    if (content.is_number()) return PlistValue{foundation::PlistDate{content.get<double>()}};
    if (auto date = foundation::parsePlistDate(text)) return PlistValue{*date};
    if (auto v = nonFinite(text)) return PlistValue{foundation::PlistDate{*v}};
    return bad(where, "{\"date\": ...} takes an ISO 8601 time such as 2026-01-01T09:00:00Z");
  }
  if (auto bytes = content.is_string() ? fromBase64(text) : std::nullopt)
    return PlistValue{foundation::PlistData{std::move(*bytes)}};
  return bad(where, "{\"data\": ...} takes base64 text");
}

// A JSON number is a real, or an integer within int64 or uint64 (the parser takes care of
// malformed ones).
bool fitsInteger(std::string_view number) {
  if (number.find_first_of(".eE") != std::string_view::npos) return true;
  const bool negative = number.starts_with('-');
  if (negative) number.remove_prefix(1);
  std::uint64_t magnitude = 0;
  auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), magnitude);
  if (ec == std::errc::result_out_of_range) return false;
  return !negative || magnitude <= std::uint64_t{1} << 63;
}

}  // namespace

json jsonFromPlist(const PlistValue& value) {
  return std::visit(
      [](const auto& v) -> json {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, foundation::PlistInteger>) {
          if (v.isUnsignedAboveInt64) return static_cast<std::uint64_t>(v.value);
          return v.value;
        } else if constexpr (std::is_same_v<T, double>) {
          if (std::isfinite(v)) return v;
          return {{"real", std::isnan(v) ? "NaN" : v > 0 ? "Infinity" : "-Infinity"}};
        } else if constexpr (std::is_same_v<T, foundation::PlistDate>) {
          return dateJson(v);
        } else if constexpr (std::is_same_v<T, foundation::PlistUid>) {
          return {{"CF$UID", v.value}};
        } else if constexpr (std::is_same_v<T, foundation::PlistData>) {
          return {{"data", foundation::base64Text(v.bytes)}};
        } else if constexpr (std::is_same_v<T, foundation::PlistArray>) {
          json a = json::array();
          for (const auto& element : v) a.push_back(jsonFromPlist(element));
          return a;
        } else if constexpr (std::is_same_v<T, foundation::PlistDictionary>) {
          json d = json::object();
          for (const auto& [key, element] : v) d[key] = jsonFromPlist(element);
          if (d.size() == 1 && isTag(d.begin().key())) return {{"dictionary", std::move(d)}};
          return d;
        } else {
          return v;  // bool, std::string
        }
      },
      value.value);
}

namespace {

std::string compact(const json& j) {
  return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

// Two levels (the suite and its values) as a JSON dump indented by two prints them; below that,
// compact.
void print(const json& j, int level, std::string& out) {
  if (!j.is_structured() || j.empty() || level >= 2) {
    out += compact(j);
    return;
  }
  const std::string indent(2 * static_cast<std::size_t>(level) + 2, ' ');
  out += j.is_object() ? "{" : "[";
  for (auto it = j.begin(); it != j.end(); ++it) {
    out += it == j.begin() ? "\n" : ",\n";
    out += indent;
    if (j.is_object()) out += compact(it.key()) + ": ";
    print(*it, level + 1, out);
  }
  out += "\n" + indent.substr(2) + (j.is_object() ? "}" : "]");
}

}  // namespace

std::string suiteText(const foundation::PlistDictionary& suite) {
  std::string out;
  print(jsonFromPlist(PlistValue{suite}), 0, out);
  return out + "\n";
}

Result<PlistValue> plistFromJson(const json& j, const std::string& where) {
  return convert(j, where, 1);
}

Result<json> parseJson(std::string_view text, const std::string& what) {
  if (!foundation::unicode::isValidUtf8(text)) return Failure::usage(what + ": not UTF-8 text");
  // Measured before parsing, so that no deep input reaches a recursive step; and integers past
  // 64 bits, which the parser would quietly read as reals, are found while at it.
  int depth = 0;
  bool inString = false, escaped = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (escaped)
        escaped = false;
      else if (c == '\\')
        escaped = true;
      else if (c == '"')
        inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      // A dictionary shown wrapped ({"dictionary": {...}}) takes two brackets, and a tagged leaf
      // one more: the exact count of containers is convert's.
      if (++depth > 2 * foundation::maxPropertyListDepth + 1)
        return Failure::usage(what + ": nested deeper than a property list may");
    } else if (c == ']' || c == '}') {
      --depth;
    } else if (c == '-' || (c >= '0' && c <= '9')) {
      const std::size_t end = std::min(text.find_first_not_of("0123456789+-.eE", i), text.size());
      const std::string_view number = text.substr(i, end - i);
      if (!fitsInteger(number))
        return Failure::usage(what + ": " + std::string(number) +
                              " is an integer beyond 64 bits, which the store cannot hold exactly "
                              "(write it as a real, with a decimal point, or as text)");
      i = end - 1;
    }
  }
  try {
    return json::parse(text);
  } catch (const json::exception& e) {  // a syntax error, or a number beyond a double
    std::string message = e.what();
    if (auto at = message.find("] "); at != std::string::npos) message = message.substr(at + 2);
    return Failure::usage(what + ": not JSON (" + message + ")");
  }
}

}  // namespace host
