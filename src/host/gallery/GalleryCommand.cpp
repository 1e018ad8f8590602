// The gallery: draws the matrix's cells on every core (each thread with a text measurer of its
// own), writes each picture with its layout report as it is drawn, and makes a group's contact
// sheet as soon as the group is complete, so only a couple of groups' pixels are held at once.
// Or joins shard galleries (--merge) into one.
#include <malloc.h>

#include <algorithm>
#include <condition_variable>
#include <fstream>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <thread>

#include "host/core/FamilyNames.h"
#include "host/core/OutputFiles.h"
#include "host/drawing/Drawing.h"
#include "host/gallery/ContactSheet.h"
#include "host/gallery/GalleryCommands.h"
#include "host/gallery/GalleryFolder.h"
#include "host/gallery/GalleryMatrix.h"
#include "host/gallery/GalleryPicture.h"
#include "host/gallery/ProgressLine.h"
#include "host/render/PngCodec.h"

namespace host {
namespace {

using nlohmann::ordered_json;
namespace fs = std::filesystem;

// Groups whose cells may be drawn before the earliest unfinished group's sheet is made.
constexpr std::size_t kGroupWindow = 2;

struct SheetCell {
  const GalleryPicture* picture;
  const render::RenderedImage* pixels;
};

// The contact sheet of one scenario in one language: a row per system version and appearance.
Outcome writeSheet(GalleryFolder& folder, const std::vector<SheetCell>& cells) {
  if (cells.empty()) return Done{};
  const GalleryPicture& first = *cells.front().picture;
  std::vector<std::string> rowKeys;
  std::vector<std::vector<SheetPicture>> rows;
  for (const auto& c : cells) {
    std::string key = c.picture->system + "/" + c.picture->appearanceName();
    auto at = std::find(rowKeys.begin(), rowKeys.end(), key);
    if (at == rowKeys.end()) {
      rowKeys.push_back(key);
      rows.emplace_back();
      at = rowKeys.end() - 1;
    }
    rows[static_cast<std::size_t>(at - rowKeys.begin())].push_back(
        SheetPicture{*c.pixels, c.picture->caption(), c.picture->flagged()});
  }
  std::string title =
      "Tamsa widgets · " + (first.scenario.empty() ? "" : first.scenario + " · ") + first.language;
  auto sheet = contactSheet(title, rows);
  if (!sheet) return sheet.failure();
  return folder.write(fs::path(first.file).parent_path().string() + ".png", *sheet);
}

Outcome writeSummaryFiles(GalleryFolder& folder, const std::vector<GalleryPicture>& pictures,
                          const std::vector<ScenarioNote>& scenarios, ordered_json& findings) {
  findings = ordered_json::array();
  ordered_json manifest = {{"scenarios", ordered_json::array()},
                           {"pictures", ordered_json::array()}};
  for (const auto& s : scenarios)
    manifest["scenarios"].push_back({{"name", s.name}, {"description", s.description}});
  for (const auto& p : pictures) {
    p.appendFindings(findings);
    manifest["pictures"].push_back(p.toJson());
  }
  if (auto r = folder.write("index.html", indexPage(pictures, scenarios)); !r) return r;
  if (auto r = folder.write("gallery.json", manifest.dump(1) + "\n"); !r) return r;
  return folder.write("findings.json", findings.dump(2) + "\n");
}

Outcome printSummary(const fs::path& out, const std::vector<GalleryPicture>& pictures,
                     ordered_json findings) {
  ordered_json sheets = ordered_json::array();
  std::string last;
  for (const auto& p : pictures) {
    std::string sheet = fs::path(p.file).parent_path().string() + ".png";
    if (sheet != last) sheets.push_back((out / sheet).string());
    last = sheet;
  }
  ordered_json summary = {{"directory", out.string()},
                          {"index", (out / "index.html").string()},
                          {"sheets", sheets},
                          {"pictures", pictures.size()},
                          {"findings", std::move(findings)}};
  return writeStandardOutput(summary.dump(2) + "\n");
}

class MatrixRun {
 public:
  MatrixRun(const HostSession& s, const Matrix& m, GalleryFolder& folder)
      : s_(s), m_(m), folder_(folder), slots_(m.cells.size()), left_(m.groups.size(), 0) {
    for (const auto& c : m.cells) ++left_[c.group];
  }

  Outcome run() {
    unsigned cores = s_.options.gallery.jobs ? static_cast<unsigned>(*s_.options.gallery.jobs)
                                             : std::thread::hardware_concurrency();
    unsigned threads =
        std::max(1u, std::min<unsigned>(cores, static_cast<unsigned>(m_.cells.size())));
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t) workers.emplace_back([this] { work(); });
    Outcome outcome = makeSheets();
    {
      std::lock_guard lock(mutex_);
      if (!outcome && !failure_) failure_ = outcome.failure();
    }
    changed_.notify_all();
    for (auto& w : workers) w.join();
    if (failure_) return *failure_;
    return Done{};
  }

  std::vector<GalleryPicture> pictures() {
    std::vector<GalleryPicture> out;
    for (auto& slot : slots_)
      if (slot.picture) out.push_back(std::move(*slot.picture));
    return out;
  }

 private:
  struct Slot {
    std::optional<GalleryPicture> picture;
    std::optional<render::RenderedImage> pixels;
  };

  void work() {
    render::PangoTextMeasurer measurer(s_.options.drawing.scale);
    while (true) {
      std::size_t i = 0;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] {
          return failure_ || next_ >= m_.cells.size() ||
                 m_.cells[next_].group < firstOpenGroup_ + kGroupWindow;
        });
        if (failure_ || next_ >= m_.cells.size()) return;
        i = next_++;
      }
      Slot slot;
      Outcome drawn = draw(m_.cells[i], measurer, slot);
      {
        std::lock_guard lock(mutex_);
        if (!drawn) {
          if (!failure_) failure_ = drawn.failure();
        } else {
          slots_[i] = std::move(slot);
          --left_[m_.cells[i].group];
          ++done_;
        }
      }
      changed_.notify_all();
    }
  }

  Outcome draw(const MatrixCell& cell, const render::PangoTextMeasurer& measurer, Slot& slot) {
    const MatrixGroup& group = m_.groups[cell.group];
    const MatrixState& state = group.states[cell.state];
    const auto& member = state.members[cell.member];
    PictureLook look{cell.appearance, s_.options.drawing.device, s_.options.drawing.scale,
                     render::PictureFormat::png};
    GalleryPicture p;
    p.scenario = group.scenario;
    p.system = state.system;
    p.language = group.language;
    p.appearance = cell.appearance;
    p.file = cell.name + ".png";
    Result<DrawnPicture> drawn = Failure::runtime("nothing drawn");
    if (cell.family) {
      const auto& w = std::get<widgetkit::WidgetConfiguration>(member);
      p.kind = w.kind();
      p.family = familyName(*cell.family);
      drawn = drawWidget(*state.device, w, *cell.family, EntryChoice::timeline, look, measurer);
    } else {
      const auto& c = std::get<widgetkit::ControlConfiguration>(member);
      p.kind = c.kind();
      p.family = "control";
      drawn = drawControl(*state.device, c, look, measurer);
    }
    if (!drawn) return drawn.failure();
    p.findings = findTextProblems(drawn->report);
    if (cell.family) p.overflow = contentOverflow(drawn->scene.layout);
    if (auto r = folder_.write(p.file, drawn->bytes); !r) return r;
    if (auto r = folder_.write(p.reportFile(), drawn->report.dump(2) + "\n"); !r) return r;
    slot.pixels = std::move(drawn->pixels);
    slot.picture = std::move(p);
    return Done{};
  }

  // On the calling thread: each group's sheet once its cells are drawn, in order.
  Outcome makeSheets() {
    ProgressLine progress(m_.cells.size());
    std::size_t begin = 0;
    for (std::size_t g = 0; g < m_.groups.size(); ++g) {
      std::size_t end = begin;
      while (end < m_.cells.size() && m_.cells[end].group == g) ++end;
      {
        std::unique_lock lock(mutex_);
        while (!failure_ && left_[g] > 0) {
          changed_.wait_for(lock, std::chrono::milliseconds(100));
          progress.update(done_);
        }
        if (failure_) return *failure_;
      }
      std::vector<SheetCell> cells;
      for (std::size_t i = begin; i < end; ++i)
        if (slots_[i].pixels) cells.push_back({&*slots_[i].picture, &*slots_[i].pixels});
      if (auto r = writeSheet(folder_, cells); !r) return r;
      for (std::size_t i = begin; i < end; ++i) slots_[i].pixels.reset();
      // Hand the group's pixels back to the system, so the run's memory stays flat.
      ::malloc_trim(0);
      {
        std::lock_guard lock(mutex_);
        firstOpenGroup_ = g + 1;
      }
      changed_.notify_all();
      begin = end;
    }
    progress.finish(done_);
    return Done{};
  }

  const HostSession& s_;
  const Matrix& m_;
  GalleryFolder& folder_;
  std::vector<Slot> slots_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::size_t> left_;  // per group, cells not yet drawn
  std::size_t next_ = 0, done_ = 0, firstOpenGroup_ = 0;
  std::optional<Failure> failure_;
};

constexpr std::size_t kMaxManifestBytes = std::size_t{256} << 20;
constexpr std::size_t kMaxPictureBytes = std::size_t{64} << 20;

Result<std::string> readShardFile(const fs::path& path, std::size_t maxBytes) {
  std::error_code ec;
  if (!fs::is_regular_file(fs::symlink_status(path, ec)))
    return Failure::runtime("gallery --merge: " + path.string() + " is missing or not a file");
  auto size = fs::file_size(path, ec);
  if (ec || size > maxBytes)
    return Failure::runtime("gallery --merge: " + path.string() + " is too large or unreadable");
  std::ifstream in(path, std::ios::binary);
  std::string bytes(size, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  if (!in) return Failure::runtime("gallery --merge: cannot read " + path.string());
  return bytes;
}

Outcome runMerge(const HostSession& s) {
  auto folder = GalleryFolder::prepare(s.options.output);
  if (!folder) return folder.failure();
  std::vector<GalleryPicture> pictures;
  std::vector<ScenarioNote> scenarios;
  std::map<std::string, fs::path> sources;  // each picture's shard
  for (const auto& dir : s.options.gallery.merge) {
    auto manifest = readShardFile(dir / "gallery.json", kMaxManifestBytes);
    if (!manifest) return manifest.failure();
    auto json = nlohmann::json::parse(*manifest, nullptr, false);
    if (json.is_discarded() || !json.is_object() || !json.contains("pictures") ||
        !json["pictures"].is_array())
      return Failure::runtime("gallery --merge: " + (dir / "gallery.json").string() +
                              " is not a gallery's manifest");
    for (const auto& note : json.value("scenarios", nlohmann::json::array())) {
      if (!note.is_object()) continue;
      ScenarioNote n{note.value("name", ""), note.value("description", "")};
      if (std::none_of(scenarios.begin(), scenarios.end(),
                       [&](const ScenarioNote& o) { return o.name == n.name; }))
        scenarios.push_back(n);
    }
    for (const auto& entry : json["pictures"]) {
      auto p = GalleryPicture::fromJson(entry);
      if (!p) return Failure::runtime(p.failure().message + " (in " + dir.string() + ")");
      if (sources.count(p->file)) continue;  // shards overlap only when one was given twice
      for (const auto& file : {p->file, p->reportFile()}) {
        auto bytes = readShardFile(dir / file, kMaxPictureBytes);
        if (!bytes) return bytes.failure();
        if (auto r = folder->write(file, *bytes); !r) return r;
      }
      sources[p->file] = dir;
      pictures.push_back(std::move(*p));
    }
  }
  // The cells' order is the matrix's: by scenario, then language, as the shards drew them.
  std::stable_sort(pictures.begin(), pictures.end(), [](const auto& a, const auto& b) {
    return fs::path(a.file).parent_path() < fs::path(b.file).parent_path();
  });
  for (std::size_t begin = 0; begin < pictures.size();) {
    std::string group = fs::path(pictures[begin].file).parent_path().string();
    std::size_t end = begin;
    std::vector<render::RenderedImage> images;
    images.reserve(pictures.size() - begin);
    while (end < pictures.size() && fs::path(pictures[end].file).parent_path() == group) ++end;
    std::vector<SheetCell> cells;
    for (std::size_t i = begin; i < end; ++i) {
      auto png = readShardFile(sources[pictures[i].file] / pictures[i].file, kMaxPictureBytes);
      if (!png) return png.failure();
      auto decoded = render::decodePng(*png);
      if (!decoded)
        return Failure::runtime("gallery --merge: " + pictures[i].file + " is not a PNG");
      images.push_back(std::move(*decoded));
    }
    for (std::size_t i = begin; i < end; ++i) cells.push_back({&pictures[i], &images[i - begin]});
    if (auto r = writeSheet(*folder, cells); !r) return r;
    begin = end;
  }
  ordered_json findings;
  if (auto r = writeSummaryFiles(*folder, pictures, scenarios, findings); !r) return r;
  if (auto r = folder->commit(); !r) return r;
  return printSummary(s.options.output, pictures, std::move(findings));
}

}  // namespace

Outcome runGalleryCommand(const HostSession& s) {
  if (!s.options.gallery.merge.empty()) return runMerge(s);
  auto matrix = buildMatrix(s);
  if (!matrix) return matrix.failure();
  auto folder = GalleryFolder::prepare(s.options.output);
  if (!folder) return folder.failure();
  MatrixRun run(s, *matrix, *folder);
  if (auto r = run.run(); !r) return r;
  std::vector<GalleryPicture> pictures = run.pictures();
  ordered_json findings;
  if (auto r = writeSummaryFiles(*folder, pictures, matrix->scenarios, findings); !r) return r;
  if (auto r = folder->commit(); !r) return r;
  return printSummary(s.options.output, pictures, std::move(findings));
}

}  // namespace host
