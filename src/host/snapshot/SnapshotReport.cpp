#include "host/snapshot/SnapshotReport.h"

#include "host/core/HtmlText.h"
#include "host/snapshot/ReportAssets.h"

#include <algorithm>
#include <cctype>
#include <nlohmann/json.hpp>

namespace host {
namespace {

using nlohmann::ordered_json;

std::string statusName(CellStatus s) {
  return std::string(kCellStatusNames.nameOf(s));
}

// Cells that need a look, in the order changed, new, gone.
std::vector<const CellOutcome*> notable(const VerifyFindings& f) {
  std::vector<const CellOutcome*> out;
  for (auto status : {CellStatus::changed, CellStatus::added, CellStatus::gone})
    for (const auto& c : f.cells)
      if (c.status == status) out.push_back(&c);
  return out;
}

std::string counts(const VerifyFindings& f) {
  return std::to_string(f.cells.size()) +
         " cells: " + std::to_string(f.count(CellStatus::changed)) + " changed, " +
         std::to_string(f.count(CellStatus::added)) + " new, " +
         std::to_string(f.count(CellStatus::gone)) + " gone, " +
         std::to_string(f.count(CellStatus::unchanged)) + " unchanged";
}

constexpr const char* kFontWarning =
    "The fonts here differ from those the snapshots were recorded with; pixel differences are "
    "then likely the fonts', not the code's:";

constexpr const char* kPageHead = R"(<!doctype html>
<html><head><meta charset="utf-8"><title>Tamsa widgets · snapshots</title>
<style>
)";

}  // namespace

std::size_t VerifyFindings::count(CellStatus status) const {
  return static_cast<std::size_t>(std::count_if(
      cells.begin(), cells.end(), [&](const CellOutcome& c) { return c.status == status; }));
}

bool VerifyFindings::anythingChanged() const {
  return std::any_of(cells.begin(), cells.end(),
                     [](const CellOutcome& c) { return c.status != CellStatus::unchanged; });
}

std::string reportPicture(const std::string& cell, const char* role) {
  return "cells/" + cell + "." + role + ".png";
}

std::string verifyText(const VerifyFindings& f) {
  std::string out;
  if (!f.fontDifferences.empty()) {
    out += std::string(kFontWarning) + "\n";
    for (const auto& d : f.fontDifferences) out += "  " + d + "\n";
  }
  for (const CellOutcome* c : notable(f)) {
    out += c->name + ": ";
    if (c->status == CellStatus::added) out += "new cell";
    if (c->status == CellStatus::gone) out += "gone";
    for (std::size_t i = 0; i < c->differences.size(); ++i)
      out += (i ? "; " : "") + c->differences[i];
    out += "\n";
  }
  return out + counts(f) + "\n";
}

std::string reportJson(const VerifyFindings& f) {
  ordered_json cells = ordered_json::array();
  for (const CellOutcome* c : notable(f)) {
    ordered_json cell = {
        {"name", c->name}, {"status", statusName(c->status)}, {"differences", c->differences}};
    for (auto [key, file] : {std::pair{"reference", &c->reference}, std::pair{"actual", &c->actual},
                             std::pair{"difference", &c->difference}})
      if (!file->empty()) cell[key] = *file;
    cells.push_back(std::move(cell));
  }
  ordered_json j = {{"folder", f.folder},
                    {"fontDifferences", f.fontDifferences},
                    {"counts",
                     {{"cells", f.cells.size()},
                      {"changed", f.count(CellStatus::changed)},
                      {"new", f.count(CellStatus::added)},
                      {"gone", f.count(CellStatus::gone)},
                      {"unchanged", f.count(CellStatus::unchanged)}}},
                    {"cells", cells}};
  return j.dump(2) + "\n";
}

std::string reportPage(const VerifyFindings& f) {
  std::string page = kPageHead + std::string(snapshotReportStyle()) + "</style></head><body>\n";
  page +=
      "<h1>Snapshots of " + htmlEscape(f.folder) + "</h1>\n<p>" + htmlEscape(counts(f)) + "</p>\n";
  if (!f.fontDifferences.empty()) {
    page += "<div class=\"fonts\"><p>" + htmlEscape(kFontWarning) + "</p><ul>";
    for (const auto& d : f.fontDifferences) page += "<li>" + htmlEscape(d) + "</li>";
    page += "</ul></div>\n";
  }
  for (const CellOutcome* c : notable(f)) {
    std::string width = c->width > 0 ? " width=\"" + std::to_string(c->width * 2) + "\"" : "";
    page += "<div class=\"cell " + std::string(statusName(c->status)) + "\"><h2>" +
            htmlEscape(c->name) + " · " + statusName(c->status) + "</h2><ul>";
    for (const auto& d : c->differences) page += "<li>" + htmlEscape(d) + "</li>";
    page += "</ul>";
    auto figure = [&](const std::string& file, const char* caption) {
      if (file.empty()) return;
      page += "<figure><img src=\"" + urlPath(file) + "\"" + width + " alt=\"" + caption +
              "\"><figcaption>" + caption + "</figcaption></figure>";
    };
    figure(c->reference, "reference");
    figure(c->actual, "actual");
    figure(c->difference, "difference (red: changed, yellow: anti-aliasing ignored)");
    if (!c->reference.empty() && !c->actual.empty()) {
      page += "<figure><div class=\"swipe\"><img src=\"" + urlPath(c->reference) + "\"" + width +
              " alt=\"reference\"><img class=\"top\" src=\"" + urlPath(c->actual) + "\"" + width +
              " alt=\"actual\"></div><br><input type=\"range\" value=\"50\" "
              "oninput=\"swipe(this)\"> <button onclick=\"show(this, 'reference')\">reference"
              "</button> <button onclick=\"show(this, 'actual')\">actual</button>"
              "<figcaption>swipe: reference left, actual right</figcaption></figure>";
    }
    page += "</div>\n";
  }
  // Swipe: the actual picture over the reference, uncovered from the right by the slider; the
  // buttons show either whole.
  return page + "<script>\n" + std::string(snapshotReportScript()) + "</script>\n</body></html>\n";
}

}  // namespace host
