// A contact sheet: several pictures in one PNG, in rows, each with a caption under it, so that a
// whole language's widgets can be looked at at once.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace host {

struct SheetPicture {
  std::string path;      // a PNG
  std::string caption;   // one line under it
  bool flagged = false;  // drawn with a red caption
};

// Lays the rows out top to bottom and writes the sheet; an error message when a picture cannot
// be read or the sheet cannot be written.
std::optional<std::string> writeContactSheet(const std::string& title,
                                             const std::vector<std::vector<SheetPicture>>& rows,
                                             const std::string& path);

}  // namespace host
