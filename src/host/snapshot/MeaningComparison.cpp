#include "host/snapshot/MeaningComparison.h"

#include <cmath>
#include <cstdio>
#include <set>

namespace host {
namespace {

using nlohmann::json;

// "3", "2.5", "0.33": points as a person writes them.
std::string number(double v) {
  char out[32];
  std::snprintf(out, sizeof out, "%.2f", v);
  std::string s = out;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s == "-0" ? "0" : s;
}

std::string quoted(const json& v) {
  return v.is_string() ? json(v).dump() : v.dump();
}

// A value as words: strings quoted, numbers plain.
std::string shown(const json& v) {
  if (v.is_number()) return number(v.get<double>());
  return quoted(v);
}

std::string field(const json& node, const char* key) {
  auto at = node.is_object() ? node.find(key) : node.end();
  return at != node.end() && at->is_string() ? at->get<std::string>() : std::string();
}

double coordinate(const json& node, const char* key) {
  if (!node.is_object() || !node.contains("frame") || !node["frame"].is_object()) return 0;
  const json& v = node["frame"].value(key, json());
  return v.is_number() ? v.get<double>() : 0;
}

const json& children(const json& node) {
  static const json kNone = json::array();
  auto at = node.is_object() ? node.find("children") : node.end();
  return at != node.end() && at->is_array() ? *at : kNone;
}

bool flag(const json& node, const char* key) {
  auto at = node.find(key);
  return at != node.end() && at->is_boolean() && at->get<bool>();
}

bool isText(const json& node) {
  return node.is_object() && node.contains("string");
}

// What pairs two nodes as the same thing: their type and what they show.
std::string identity(const json& node) {
  std::string id = field(node, "type");
  if (isText(node)) id += "\n" + quoted(node["string"]);
  if (node.is_object() && node.contains("systemImage")) id += "\n" + quoted(node["systemImage"]);
  return id;
}

// How a node is named in words: a text by its string, an image by its symbol, else its type.
std::string name(const json& node) {
  if (isText(node)) return quoted(node["string"]);
  std::string type = field(node, "type");
  if (node.is_object() && node.contains("systemImage"))
    return "image " + quoted(node["systemImage"]);
  if (node.is_object() && node.contains("color") && node["color"].is_string())
    return type + " " + node["color"].get<std::string>();
  return type.empty() ? "node" : type;
}

// Drawn nodes are reported when they move; containers move only because what they hold does.
bool drawsSomething(const json& node) {
  return isText(node) ||
         (node.is_object() && (node.contains("color") || node.contains("systemImage")));
}

class Comparison {
 public:
  std::vector<std::string> words;

  void nodes(const json& ref, const json& act) {
    const std::string who = name(ref);
    if (isText(ref) && isText(act)) text(who, ref, act);
    otherFields(who, ref, act);
    if (drawsSomething(ref)) frame(who, ref, act);
    childLists(children(ref), children(act));
  }

 private:
  void say(std::string w) { words.push_back(std::move(w)); }

  void text(const std::string& who, const json& ref, const json& act) {
    const bool stringChanged = ref["string"] != act["string"];
    if (stringChanged) say(who + " now reads " + quoted(act["string"]));
    const bool wasCut = flag(ref, "truncated"), isCut = flag(act, "truncated");
    if (!wasCut && isCut) {
      say(who + " now cut (" + quoted(act.value("drawn", json(""))) + ")");
    } else if (wasCut && !isCut) {
      say(who + " no longer cut");
    } else if (ref.value("drawn", json()) != act.value("drawn", json()) &&
               !(stringChanged && !isCut)) {
      say(who + " drawn as " + quoted(act.value("drawn", json(""))) + " (was " +
          quoted(ref.value("drawn", json(""))) + ")");
    }
    change(who, "font size", ref, act, "fontSize", " pt");
    change(who, "weight", ref, act, "fontWeight");
    change(who, "colour", ref, act, "color");
    change(who, "lines", ref, act, "lines");
    const bool wasShrunk = flag(ref, "shrunk"), isShrunk = flag(act, "shrunk");
    if (wasShrunk != isShrunk) say(who + (isShrunk ? " now shrunk" : " no longer shrunk"));
    change(who, "missing glyphs", ref, act, "missingGlyphs");
    change(who, "language", ref, act, "language");
  }

  // "<who> <label> <old> → <new><unit>", when the field differs.
  void change(const std::string& who, const std::string& label, const json& ref, const json& act,
              const char* key, const char* unit = "") {
    json a = ref.value(key, json()), b = act.value(key, json());
    if (a == b) return;
    static const std::set<std::string> kWords = {"color", "fontWeight", "language", "shape"};
    auto show = [&](const json& v) {
      if (v.is_null()) return std::string("none");
      if (v.is_string() && kWords.count(key)) return v.get<std::string>();
      return shown(v);
    };
    say(who + " " + label + " " + show(a) + " → " + show(b) + unit);
  }

  // Fields the comparison has no words of its own for, compared as they are.
  void otherFields(const std::string& who, const json& ref, const json& act) {
    // "line" is where the text sits in its string table: it moves when other lines are added.
    static const std::set<std::string> kHandled = {
        "line",       "type",  "frame",  "children",  "string",        "drawn",   "fontSize",
        "fontWeight", "lines", "shrunk", "truncated", "missingGlyphs", "language"};
    if (!ref.is_object() || !act.is_object()) {
      if (ref != act) say(who + " changed");
      return;
    }
    std::set<std::string> keys;
    for (const auto& [k, v] : ref.items()) keys.insert(k);
    for (const auto& [k, v] : act.items()) keys.insert(k);
    for (const auto& k : keys) {
      if (kHandled.count(k) || (k == "color" && isText(ref) && isText(act))) continue;
      change(who, k == "color" ? "colour" : k, ref, act, k.c_str());
    }
  }

  void frame(const std::string& who, const json& ref, const json& act) {
    double dx = coordinate(act, "x") - coordinate(ref, "x");
    double dy = coordinate(act, "y") - coordinate(ref, "y");
    std::string moves;
    auto add = [&](double d, const char* less, const char* more) {
      if (std::abs(d) <= kFrameSlack) return;
      moves += (moves.empty() ? "" : ", ") + std::string(d < 0 ? less : more) + " " +
               number(std::abs(d)) + " pt";
    };
    add(dy, "up", "down");
    add(dx, "left", "right");
    if (!moves.empty()) say(who + " moved " + moves);
    double w0 = coordinate(ref, "width"), h0 = coordinate(ref, "height");
    double w1 = coordinate(act, "width"), h1 = coordinate(act, "height");
    if (std::abs(w1 - w0) > kFrameSlack || std::abs(h1 - h0) > kFrameSlack)
      say(who + " resized " + number(w0) + " × " + number(h0) + " → " + number(w1) + " × " +
          number(h1) + " pt");
  }

  // Matches the lists by identity (longest common subsequence); in each stretch between matches,
  // nodes of the same type are paired as changed, the rest are removed or added.
  void childLists(const json& ref, const json& act) {
    const std::size_t n = ref.size(), m = act.size();
    std::vector<std::string> a(n), b(m);
    for (std::size_t i = 0; i < n; ++i) a[i] = identity(ref[i]);
    for (std::size_t j = 0; j < m; ++j) b[j] = identity(act[j]);
    std::vector<std::vector<std::size_t>> lcs(n + 1, std::vector<std::size_t>(m + 1, 0));
    for (std::size_t i = n; i-- > 0;)
      for (std::size_t j = m; j-- > 0;)
        lcs[i][j] = a[i] == b[j] ? lcs[i + 1][j + 1] + 1 : std::max(lcs[i + 1][j], lcs[i][j + 1]);
    std::size_t i = 0, j = 0, gapI = 0, gapJ = 0;
    while (i < n || j < m) {
      if (i < n && j < m && a[i] == b[j]) {
        gap(ref, act, gapI, i, gapJ, j);
        nodes(ref[i], act[j]);
        gapI = ++i;
        gapJ = ++j;
      } else if (j >= m || (i < n && lcs[i + 1][j] >= lcs[i][j + 1])) {
        ++i;
      } else {
        ++j;
      }
    }
    gap(ref, act, gapI, n, gapJ, m);
  }

  void gap(const json& ref, const json& act, std::size_t i0, std::size_t i1, std::size_t j0,
           std::size_t j1) {
    std::vector<bool> paired(j1 - j0, false);
    for (std::size_t i = i0; i < i1; ++i) {
      bool found = false;
      for (std::size_t j = j0; j < j1 && !found; ++j) {
        if (paired[j - j0] || field(ref[i], "type") != field(act[j], "type")) continue;
        paired[j - j0] = found = true;
        nodes(ref[i], act[j]);
      }
      if (!found) say(name(ref[i]) + " removed");
    }
    for (std::size_t j = j0; j < j1; ++j)
      if (!paired[j - j0]) say(name(act[j]) + " added");
  }
};

}  // namespace

std::vector<std::string> compareMeaning(const json& reference, const json& actual) try {
  Comparison c;
  auto size = [](const json& r) {
    if (!r.is_object() || !r.contains("size") || !r["size"].is_object()) return std::string("?");
    return number(r["size"].value("width", 0.0)) + " × " + number(r["size"].value("height", 0.0));
  };
  if (size(reference) != size(actual))
    c.words.push_back("picture size " + size(reference) + " → " + size(actual) + " pt");
  for (const char* key : {"widgetURL", "scale"}) {
    json a = reference.is_object() ? reference.value(key, json()) : json();
    json b = actual.is_object() ? actual.value(key, json()) : json();
    if (a != b)
      c.words.push_back(std::string(key == std::string("scale") ? "scale " : "link ") +
                        (a.is_null() ? "none" : shown(a)) + " → " +
                        (b.is_null() ? "none" : shown(b)));
  }
  auto root = [](const json& r) { return r.is_object() ? r.value("root", json()) : json(); };
  c.nodes(root(reference), root(actual));
  return c.words;
} catch (const nlohmann::json::exception& e) {
  // Only a malformed report gets here: a field of an unexpected type.
  return {std::string("the layout report cannot be compared: ") + e.what()};
}

}  // namespace host
