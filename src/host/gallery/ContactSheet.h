// A contact sheet: several pictures in one PNG, in rows, each with a caption under it, so that a
// whole language's widgets can be looked at at once.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "drawing/WidgetRenderer.h"
#include "host/core/Result.h"
#include "host/findings/Severity.h"

namespace host {

struct SheetPicture {
  const drawing::RenderedImage* pixels;  // kept by the caller while the sheet is made
  std::string caption;                   // one line under it
  std::optional<Severity> severity;      // the gravest it shows: the caption's colour
};

// The sheet's PNG bytes: the rows top to bottom under the title; a failure when the sheet cannot
// be encoded. Pictures drawn at `pictureScale` pixels a point are shown at one pixel a point: a
// sheet is an overview, and at full scale it cost as much to make as all its pictures.
Result<std::string> contactSheet(const std::string& title,
                                 const std::vector<std::vector<SheetPicture>>& rows,
                                 double pictureScale);

}  // namespace host
