// One picture of the gallery and what it flags: texts shrunk, cut or with missing glyphs, and
// content overflowing the space inside the widget's margins. Pictures are also listed in the
// gallery's manifest (gallery.json), from which shards are joined.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "host/core/Result.h"
#include "host/findings/Findings.h"
#include "host/matrix/CellMatrix.h"
#include "platform/swiftui/Color.h"

namespace host {

struct GalleryPicture {
  std::string scenario;                // empty: the container as it is
  std::string system;                  // "iOS 17.4" when several versions are drawn; else empty
  std::string language, kind, family;  // family: "small", "medium", or "control"
  Appearance appearance = Appearance::light;
  std::string file;  // relative to the gallery folder, made of safe path components
  std::vector<TextFinding> findings;
  double overflow = 0;      // points the content reaches past the space inside the margins
  double edgeOverflow = 0;  // points a text or an image reaches past the widget's edge
  std::vector<ContrastShortfall> contrasts;
  std::vector<ToneMerge> toneMerges;
  std::size_t order = 0;  // the cell's position in the whole matrix (MatrixCell::position)

  std::string appearanceName() const;
  // What the picture shows, as the findings' rules read it.
  PictureFacts facts() const;
  // "TamsaWidget · small · dark · 1 error, 2 notes", from the severities of what it shows.
  std::string caption(const std::vector<Severity>& shown) const;
  // The layout report beside the picture.
  std::string reportFile() const;

  // The manifest's entry, and back; a failure when an entry is malformed or names a file that
  // is not made of safe path components (a shard's manifest may come from anywhere).
  nlohmann::ordered_json toJson() const;
  static Result<GalleryPicture> fromJson(const nlohmann::json& entry);
};

// The page that shows the findings, one per cause with its pictures under it, and every picture,
// grouped by scenario and language, marked by the gravest severity it shows; filters by
// scenario, language, widget, severity and new versus accepted. Works opened from disk:
// everything is in the page.
std::string indexPage(const std::vector<GalleryPicture>& pictures,
                      const std::vector<ScenarioNote>& scenarios,
                      const std::vector<Finding>& findings);

}  // namespace host
