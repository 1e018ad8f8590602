// Recording and verifying snapshots. Cells are drawn through the matrix drawing the gallery uses;
// verify compares each cell on the thread that drew it, so nothing but the words is kept: the
// layout reports first (the same text means the same picture's meaning), and only when they
// agree the pictures, byte for byte and, when the bytes differ, decoded, pixel by pixel.
#include <cstdlib>
#include <mutex>
#include <nlohmann/json.hpp>
#include <unordered_set>

#include "drawing/FontSet.h"
#include "drawing/LayoutReport.h"
#include "drawing/PixelComparison.h"
#include "drawing/PngCodec.h"
#include "host/core/CommandLine.h"
#include "host/core/DeviceSetup.h"
#include "host/core/InputFiles.h"
#include "host/core/OutputFiles.h"
#include "host/core/StagedFolder.h"
#include "host/matrix/MatrixDrawing.h"
#include "host/snapshot/FontCensus.h"
#include "host/snapshot/MeaningComparison.h"
#include "host/snapshot/SnapshotCells.h"
#include "host/snapshot/SnapshotCommands.h"
#include "host/snapshot/SnapshotManifest.h"
#include "host/snapshot/SnapshotReport.h"

namespace host {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr FolderKind kSnapshotFolder{"snapshot record", ".tamsa-snapshots",
                                     "an earlier recording of snapshots"};
constexpr FolderKind kReportFolder{"snapshot verify", ".tamsa-snapshot-report",
                                   "an earlier snapshot report"};
// A cell's files are read whole, one per drawing thread. The largest widget at scale 3 is a few
// megabytes of PNG and its layout report some kilobytes; larger files were not recorded by us.
constexpr std::size_t kMaxCellPictureBytes = std::size_t{16} << 20;
constexpr std::size_t kMaxCellReportBytes = std::size_t{1} << 20;

std::string reportText(const json& report) {
  return report.dump(2) + "\n";
}

std::string reportText(const drawing::LayoutTree& tree) {
  return reportText(drawing::layoutReport(tree));
}

Result<std::string> readCellPicture(os::WritableFileSystem& files, const fs::path& folder,
                                    const std::string& name) {
  return readPlainFile(files, folder / (name + ".png"), kMaxCellPictureBytes);
}

// The recorded picture's pixels when its header claims the drawn picture's size: a file claiming
// another size is never decoded, so a doctored one cannot make verify allocate more than drawing
// did.
Result<drawing::RenderedImage> decodeAsDrawn(const std::string& png,
                                             const drawing::RenderedImage& drawn) {
  auto size = drawing::pngSize(png);
  if (!size) return size.failure();
  if (size->width != static_cast<std::uint32_t>(drawn.width) ||
      size->height != static_cast<std::uint32_t>(drawn.height))
    return Failure::runtime("the recorded picture is not the drawn picture's size");
  return drawing::decodePng(png, drawn.pixels.size());
}

class LockedCensus {
 public:
  void add(const drawing::LayoutTree& tree) {
    TextCensus one;
    one.add(tree);
    std::lock_guard lock(mutex_);
    all_.merge(one);
  }
  std::vector<FontFile> fontFiles() const { return all_.fontFiles(); }

 private:
  std::mutex mutex_;
  TextCensus all_;
};

SnapshotManifest manifestOf(const LookOptions& look, const Matrix& m,
                            std::vector<std::pair<std::string, std::string>> options,
                            std::vector<FontFile> fonts, drawing::PixelThreshold threshold) {
  SnapshotManifest manifest;
  manifest.program = programVersion();
  manifest.scale = look.scale;
  manifest.device = look.device.name;
  manifest.options = std::move(options);
  manifest.threshold = threshold;
  manifest.fonts = std::move(fonts);
  for (const auto& c : m.cells) manifest.cells.push_back(c.name);
  return manifest;
}

}  // namespace

Outcome runSnapshotRecord(const HostSession& s, const SnapshotRecordOptions& o) {
  if (auto fonts = drawing::pinnedFonts(); !fonts) return fonts.failure();
  auto matrix = buildMatrix(s, o.matrix);
  if (!matrix) return matrix.failure();
  auto folder = StagedFolder::prepare(s.files, o.folder, kSnapshotFolder);
  if (!folder) return folder.failure();
  LockedCensus census;
  MatrixHandlers handlers{[&](std::size_t i, DrawnPicture drawn) -> Outcome {
                            const std::string& name = matrix->cells[i].name;
                            census.add(drawn.tree);
                            if (auto r = folder->write(name + ".png", drawn.bytes); !r) return r;
                            return folder->write(name + ".json", reportText(drawn.tree));
                          },
                          nullptr};
  auto home = loadHomeScreen(*s.files, o.matrix.look);
  if (!home) return home.failure();
  if (auto r = drawMatrix(*matrix, o.matrix.look, *home, o.jobs, handlers); !r) return r;
  SnapshotManifest manifest =
      manifestOf(o.matrix.look, *matrix, o.words, census.fontFiles(), drawing::PixelThreshold{});
  if (auto r = folder->write(kManifestFile, manifest.toJson()); !r) return r;
  if (auto r = folder->commit(); !r) return r;
  nlohmann::ordered_json fonts = nlohmann::ordered_json::array();
  for (const auto& f : manifest.fonts) fonts.push_back(f.path);
  nlohmann::ordered_json summary = {
      {"directory", o.folder.string()}, {"cells", manifest.cells.size()}, {"fonts", fonts}};
  return writeStandardOutput(summary.dump(2) + "\n");
}

namespace {

// The matrix the recording was made with, read as the command line reads it.
Result<MatrixOptions> recordedMatrix(const SnapshotManifest& manifest) {
  auto matrix = readRecordedMatrix(manifest.options);
  if (!matrix)
    return Failure::runtime("snapshot verify: the manifest's options are not usable: " +
                            matrix.failure().message);
  return matrix;
}

class Verification {
 public:
  Verification(os::WritableFileSystem& files, const SnapshotVerifyOptions& o,
               const LookOptions& look, const Matrix& m, const SnapshotManifest& manifest,
               StagedFolder* report)
      : files_(files),
        o_(o),
        look_(look),
        m_(m),
        manifest_(manifest),
        report_(report),
        folder_(o.folder),
        recorded_(manifest.cells.begin(), manifest.cells.end()),
        outcomes_(m.cells.size()),
        refused_(m.cells.size(), 0) {}

  Outcome run() {
    MatrixHandlers handlers{
        [this](std::size_t i, DrawnPicture drawn) { return compare(i, std::move(drawn)); },
        nullptr};
    auto home = loadHomeScreen(files_, look_);
    if (!home) return home.failure();
    return drawMatrix(m_, look_, *home, o_.jobs, handlers);
  }

  // --update: whether the cell was left unwritten, its folder passing through a symbolic link.
  bool refused(std::size_t cell) const { return refused_[cell] != 0; }

  // Every drawn cell's outcome, by cell, then the cells gone.
  VerifyFindings findings() {
    VerifyFindings f;
    f.folder = folder_.string();
    f.cells = std::move(outcomes_);
    std::unordered_set<std::string> drawn;
    for (const auto& c : m_.cells) drawn.insert(c.name);
    for (const auto& name : manifest_.cells) {
      if (drawn.count(name)) continue;
      CellOutcome gone{name, CellStatus::gone, {}, "", "", "", 0};
      if (report_)
        if (auto png = readCellPicture(files_, folder_, name))
          if (report_->write(reportPicture(name, "reference"), *png))
            gone.reference = reportPicture(name, "reference");
      f.cells.push_back(std::move(gone));
    }
    return f;
  }

  std::vector<FontFile> fontFiles() const { return census_.fontFiles(); }

 private:
  // On a drawing thread: the cell's outcome, and its pictures for the report and the update.
  Outcome compare(std::size_t i, DrawnPicture drawn) {
    census_.add(drawn.tree);
    CellOutcome& out = outcomes_[i];
    out.name = m_.cells[i].name;
    std::optional<std::string> referencePng;
    if (!recorded_.count(out.name)) {
      out.status = CellStatus::added;
    } else {
      out.differences = meaningDifferences(out.name, drawn);
      if (out.differences.empty()) {
        if (auto png = readCellPicture(files_, folder_, out.name)) referencePng = std::move(*png);
        if (!referencePng)
          out.differences.push_back("the recorded picture is missing or unreadable");
        else if (*referencePng != drawn.bytes)
          out.differences = pixelDifferences(*referencePng, drawn);
      }
      if (!out.differences.empty()) out.status = CellStatus::changed;
    }
    if (out.status == CellStatus::unchanged) return Done{};
    if (o_.update) {
      if (!staysInside(files_, folder_, out.name))
        refused_[i] = 1;
      else if (auto r = writeCell(files_, folder_, out.name, drawn.bytes, reportText(drawn.tree));
               !r)
        return r;
    }
    if (report_) return keepPictures(out, drawn, referencePng);
    return Done{};
  }

  std::vector<std::string> meaningDifferences(const std::string& name, const DrawnPicture& drawn) {
    auto text = readPlainFile(files_, folder_ / (name + ".json"), kMaxCellReportBytes);
    if (!text) return {"the recorded layout report is missing, unreadable or too large"};
    const json actual = drawing::layoutReport(drawn.tree);
    if (*text == reportText(actual)) return {};
    json reference = json::parse(*text, nullptr, false);
    if (reference.is_discarded()) return {"the recorded layout report is not JSON"};
    return compareMeaning(reference, actual);
  }

  std::vector<std::string> pixelDifferences(const std::string& referencePng,
                                            const DrawnPicture& drawn) {
    auto size = drawing::pngSize(referencePng);
    if (!size || !drawn.pixels) return {"the recorded picture is not a PNG"};
    if (size->width != static_cast<std::uint32_t>(drawn.pixels->width) ||
        size->height != static_cast<std::uint32_t>(drawn.pixels->height))
      return {"picture size " + std::to_string(size->width) + " × " + std::to_string(size->height) +
              " → " + std::to_string(drawn.pixels->width) + " × " +
              std::to_string(drawn.pixels->height) + " px"};
    // Viewers show such a picture in other colours than its pixels say, which is a change.
    if (auto chunk = drawing::colourChunk(referencePng))
      return {"the recorded picture has a " + *chunk +
              " chunk, which changes the colours viewers show (drawn pictures have none)"};
    auto reference = decodeAsDrawn(referencePng, *drawn.pixels);
    if (!reference) return {"the recorded picture is not a PNG"};
    drawing::PixelDifference d =
        drawing::comparePixels(*reference, *drawn.pixels, manifest_.threshold.level);
    if (!d.exceeds(manifest_.threshold)) return {};
    return {std::to_string(d.differing) + " pixels differ " +
            (d.edgesChanged ? "on more edges than anti-aliasing explains"
                            : "beyond anti-aliased edges") +
            " (threshold " + std::to_string(manifest_.threshold.pixels) + ")"};
  }

  Outcome keepPictures(CellOutcome& out, const DrawnPicture& drawn,
                       std::optional<std::string> referencePng) {
    out.actual = reportPicture(out.name, "actual");
    if (auto r = report_->write(out.actual, drawn.bytes); !r) return r;
    if (drawn.pixels) out.width = drawn.pixels->width;
    if (out.status == CellStatus::added) return Done{};
    if (!referencePng)
      if (auto png = readCellPicture(files_, folder_, out.name)) referencePng = std::move(*png);
    if (!referencePng) return Done{};
    out.reference = reportPicture(out.name, "reference");
    if (auto r = report_->write(out.reference, *referencePng); !r) return r;
    if (!drawn.pixels) return Done{};
    auto reference = decodeAsDrawn(*referencePng, *drawn.pixels);
    if (!reference) return Done{};
    auto png = drawing::encodePng(
        drawing::differenceImage(*reference, *drawn.pixels, manifest_.threshold.level));
    if (!png) return Done{};
    out.difference = reportPicture(out.name, "difference");
    return report_->write(out.difference, *png);
  }

  os::WritableFileSystem& files_;
  const SnapshotVerifyOptions& o_;
  LookOptions look_;
  const Matrix& m_;
  const SnapshotManifest& manifest_;
  StagedFolder* report_;
  fs::path folder_;
  std::unordered_set<std::string> recorded_;
  std::vector<CellOutcome> outcomes_;   // by cell; each written by the thread that drew it
  std::vector<unsigned char> refused_;  // the same
  LockedCensus census_;
};

// What --update did: cells recorded again and removed, and those left as they were (with why).
struct UpdateTally {
  std::size_t recorded = 0, removed = 0;
  std::vector<std::string> left;
};

// --update: the cells gone are removed and the manifest names what is there now. A cell whose
// folder passes through a symbolic link is neither written nor removed, so the manifest keeps
// naming it as it was (and a new one there stays unnamed).
Result<UpdateTally> finishUpdate(os::WritableFileSystem& files, const fs::path& folder,
                                 const LookOptions& look, const Matrix& m,
                                 const Verification& verification, SnapshotManifest manifest,
                                 const VerifyFindings& f, std::vector<FontFile> fonts) {
  UpdateTally tally;
  std::vector<std::string> cells;
  for (std::size_t i = 0; i < f.cells.size(); ++i) {
    const CellOutcome& c = f.cells[i];
    if (c.status == CellStatus::gone) {
      std::string why = removeCell(files, folder, c.name);
      if (why.empty()) {
        ++tally.removed;
        continue;
      }
      tally.left.push_back(c.name + " (not removed: " + why + ")");
    } else if (c.status != CellStatus::unchanged && verification.refused(i)) {
      tally.left.push_back(c.name + " (not recorded: through a symbolic link)");
      if (c.status == CellStatus::added) continue;
    } else if (c.status != CellStatus::unchanged) {
      ++tally.recorded;
    }
    cells.push_back(c.name);
  }
  SnapshotManifest updated =
      manifestOf(look, m, std::move(manifest.options), std::move(fonts), manifest.threshold);
  updated.cells = std::move(cells);
  if (auto r = writeFileAtomically(files, folder / kManifestFile, updated.toJson()); !r)
    return r.failure();
  return tally;
}

// What verify says when cells changed: --update's tally, or how many changed.
Outcome changedOutcome(os::WritableFileSystem& files, const SnapshotVerifyOptions& o,
                       const LookOptions& look, const Matrix& m, const Verification& verification,
                       const SnapshotManifest& manifest, const VerifyFindings& findings,
                       std::vector<FontFile> fonts) {
  if (!o.update)
    return Failure::problems(
        "snapshot verify: " +
        std::to_string(findings.cells.size() - findings.count(CellStatus::unchanged)) + " of " +
        std::to_string(findings.cells.size()) +
        " cells changed, came or went (snapshot verify --update records them)");
  auto tally =
      finishUpdate(files, o.folder, look, m, verification, manifest, findings, std::move(fonts));
  if (!tally) return tally.failure();
  if (auto r = writeStandardOutput("recorded again: " + std::to_string(tally->recorded) +
                                   " cells; removed: " + std::to_string(tally->removed) + "\n");
      !r)
    return r;
  if (tally->left.empty()) return Done{};
  std::string left;
  for (const auto& l : tally->left) left += (left.empty() ? "" : "; ") + l;
  return Failure::runtime(
      "snapshot verify --update: left as they were, and the manifest says so: " + left);
}

}  // namespace

Result<MatrixOptions> readRecordedMatrix(
    const std::vector<std::pair<std::string, std::string>>& words) {
  auto w = matrixWordsFromList(words);
  if (!w) return w.failure();
  return readMatrixOptions(*w);
}

Outcome runSnapshotVerify(const HostSession& session, const SnapshotVerifyOptions& o) {
  if (auto fonts = drawing::pinnedFonts(); !fonts) return fonts.failure();
  auto manifest = SnapshotManifest::read(*session.files, o.folder);
  if (!manifest) return manifest.failure();
  auto matrix = recordedMatrix(*manifest);
  if (!matrix) return matrix.failure();
  auto device = makeDevice(
      matrix->device, [](const char* name) { return std::getenv(name); }, session.paths);
  if (!device) return device.failure();
  device->mainActor = std::make_shared<os::MainActor>();
  HostSession s{matrix->device, *device,       session.body(*device).declared(),
                session.body,   session.paths, session.warn,
                session.files};
  auto cells = buildMatrix(s, *matrix);
  if (!cells) return cells.failure();

  std::optional<StagedFolder> report;
  if (o.report) {
    auto prepared = StagedFolder::prepare(s.files, *o.report, kReportFolder);
    if (!prepared) return prepared.failure();
    report.emplace(std::move(*prepared));
  }
  Verification verification(*session.files, o, matrix->look, *cells, *manifest,
                            report ? &*report : nullptr);
  if (auto r = verification.run(); !r) return r;
  VerifyFindings findings = verification.findings();
  std::vector<FontFile> fonts = verification.fontFiles();
  findings.fontDifferences = fontDifferences(manifest->fonts, fonts);
  if (report) {
    if (auto r = report->write("report.json", reportJson(findings)); !r) return r;
    if (auto r = report->write("report.html", reportPage(findings)); !r) return r;
    if (auto r = report->commit(); !r) return r;
  }
  if (auto r = writeStandardOutput(verifyText(findings)); !r) return r;
  if (!findings.anythingChanged()) return Done{};
  return changedOutcome(*session.files, o, matrix->look, *cells, verification, *manifest, findings,
                        std::move(fonts));
}

}  // namespace host
