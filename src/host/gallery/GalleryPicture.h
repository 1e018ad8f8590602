// One picture of the gallery and what it flags: texts shrunk, cut or with missing glyphs, and
// content overflowing the space inside the widget's margins. Pictures are also listed in the
// gallery's manifest (gallery.json), from which shards are joined.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "host/core/Result.h"
#include "host/gallery/TextFindings.h"
#include "host/matrix/CellMatrix.h"
#include "platform/swiftui/Color.h"

namespace host {

struct GalleryPicture {
  std::string scenario;                // empty: the container as it is
  std::string system;                  // "iOS 17.4" when several versions are drawn; else empty
  std::string language, kind, family;  // family: "small", "medium", or "control"
  swiftui::ColorScheme appearance = swiftui::ColorScheme::light;
  std::string file;  // relative to the gallery folder, made of safe path components
  std::vector<TextFinding> findings;
  double overflow = 0;    // points the content reaches past the space inside the margins
  std::size_t order = 0;  // the cell's position in the whole matrix (MatrixCell::position)

  // Half a point is rounding, not a fault.
  static constexpr double kOverflowSlack = 0.5;
  bool overflows() const { return overflow > kOverflowSlack; }
  bool flagged() const { return !findings.empty() || overflows(); }
  std::string appearanceName() const;
  // "content overflows the space inside the margins by 8 pt"
  std::string overflowText() const;
  // "TamsaWidget · small · dark · 2 flagged · overflows 8 pt"
  std::string caption() const;
  // The layout report beside the picture.
  std::string reportFile() const;

  // The manifest's entry, and back; a failure when an entry is malformed or names a file that
  // is not made of safe path components (a shard's manifest may come from anywhere).
  nlohmann::ordered_json toJson() const;
  static Result<GalleryPicture> fromJson(const nlohmann::json& entry);
  // findings.json's entries for this picture: one per finding, each naming where it is.
  void appendFindings(nlohmann::ordered_json& out) const;
};

// The page that shows every picture, grouped by scenario and language, with what each flags
// beside it, and filters by scenario, language, widget and "flagged only". Works opened from
// disk: everything is in the page.
std::string indexPage(const std::vector<GalleryPicture>& pictures,
                      const std::vector<ScenarioNote>& scenarios);

}  // namespace host
