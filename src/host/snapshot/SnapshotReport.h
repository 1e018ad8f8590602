// What snapshot verify found, as words for the terminal, report.json for machines and
// report.html for people: changed, new and gone cells first, each with its reference, the actual
// picture, a difference image and a swipe between the two, and the differences in words; the
// unchanged cells counted. The page works opened from disk: pictures are files beside it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "host/core/Names.h"

namespace host {

enum class CellStatus { unchanged, changed, added, gone };

inline constexpr Names<CellStatus, 4> kCellStatusNames{{{CellStatus::unchanged, "unchanged"},
                                                        {CellStatus::changed, "changed"},
                                                        {CellStatus::added, "new"},
                                                        {CellStatus::gone, "gone"}}};

struct CellOutcome {
  std::string name;
  CellStatus status = CellStatus::unchanged;
  std::vector<std::string> differences;  // in words
  // Pictures in the report's folder, relative to it; empty when there is none.
  std::string reference, actual, difference;
  int width = 0;  // the pictures' width in pixels, to show them at a readable size
};

struct VerifyFindings {
  std::string folder;
  std::vector<std::string> fontDifferences;
  std::vector<CellOutcome> cells;  // every cell, unchanged ones included
  std::size_t count(CellStatus status) const;
  bool anythingChanged() const;
};

// The terminal's lines: the font differences first, then one line per cell that changed, came or
// went ("signed-out/de/TamsaWidget-small-light: \"Kontostand\" moved down 3 pt"), then the counts.
std::string verifyText(const VerifyFindings& findings);
std::string reportJson(const VerifyFindings& findings);
std::string reportPage(const VerifyFindings& findings);

// Where the report keeps a cell's pictures: "cells/<name>.<role>.png".
std::string reportPicture(const std::string& cell, const char* role);

}  // namespace host
