// The font files a set of pictures was drawn with, learned by laying out each distinct text of
// their layout trees again, as the renderer does, and asking Pango which font each run took:
// Inter, the Noto Sans CJK faces, the colour emoji font, and whatever fallback the machine chose
// for other scripts. Each file is named with its version and a SHA-256 of its bytes, so a
// snapshot can tell whether the machine's fonts are the ones it was recorded with.
// TextCensus is used by one thread at a time; fontFiles() makes its own measurer.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "drawing/LayoutTree.h"

namespace host {

struct FontFile {
  std::string faces;  // "Noto Sans CJK JP Regular, Noto Sans CJK KR Regular": those used from it
  std::string path, version;
  std::uintmax_t size = 0;
  std::string sha256;
  bool operator==(const FontFile&) const = default;

  nlohmann::ordered_json toJson() const;
  static std::optional<FontFile> fromJson(const nlohmann::json& entry);
};

// The distinct texts of drawn pictures, as drawn: what, in which language and weight.
class TextCensus {
 public:
  void add(const drawing::LayoutTree& tree);
  void merge(const TextCensus& other);
  std::size_t size() const { return texts_.size(); }

  // The files Pango draws the texts with, by path.
  std::vector<FontFile> fontFiles() const;

 private:
  std::set<std::tuple<std::string, std::string, std::string>> texts_;  // drawn, language, weight
};

// The differences between the fonts recorded and those used now, in words; empty when the same.
// Files are matched by the faces used from them, so a font at another path is the same font.
std::vector<std::string> fontDifferences(const std::vector<FontFile>& recorded,
                                         const std::vector<FontFile>& now);

}  // namespace host
