// One picture of the gallery and what it flags: texts shrunk, cut or with missing glyphs, and
// content overflowing the space inside the widget's margins.
#pragma once

#include <string>
#include <vector>

#include "host/gallery/TextFindings.h"
#include "platform/swiftui/Color.h"

namespace host {

struct GalleryPicture {
  std::string language, kind, family;  // family: "small", "medium", or "control"
  swiftui::ColorScheme appearance = swiftui::ColorScheme::light;
  std::string file;  // relative to the gallery folder, made of safe path components
  std::vector<TextFinding> findings;
  double overflow = 0;  // points the content reaches past the space inside the margins

  // Half a point is rounding, not a fault.
  static constexpr double kOverflowSlack = 0.5;
  bool overflows() const { return overflow > kOverflowSlack; }
  bool flagged() const { return !findings.empty() || overflows(); }
  std::string appearanceName() const;
  // "content overflows the space inside the margins by 8 pt"
  std::string overflowText() const;
  // "TamsaWidget · small · dark · 2 flagged · overflows 8 pt"
  std::string caption() const;
};

// The page that shows every picture, grouped by language, with what each flags.
std::string indexPage(const std::vector<std::string>& languages,
                      const std::vector<GalleryPicture>& pictures);

}  // namespace host
