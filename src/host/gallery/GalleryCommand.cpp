// The gallery: draws the matrix's cells (MatrixDrawing.h), writes each picture with its layout
// report as it is drawn, and makes a group's contact sheet as soon as the group is complete, so
// only a couple of groups' pixels are held at once.
// Or joins shard galleries (--merge) into one.

#include <algorithm>
#include <cmath>
#include <map>
#include <nlohmann/json.hpp>

#include "drawing/FontSet.h"
#include "drawing/LayoutReport.h"
#include "drawing/PngCodec.h"
#include "host/core/FamilyNames.h"
#include "host/core/InputFiles.h"
#include "host/core/OutputFiles.h"
#include "host/core/StagedFolder.h"
#include "host/findings/Baseline.h"
#include "host/findings/Contrast.h"
#include "host/findings/Sarif.h"
#include "host/gallery/ContactSheet.h"
#include "host/gallery/GalleryCommands.h"
#include "host/gallery/GalleryPicture.h"
#include "host/matrix/CellMatrix.h"
#include "host/matrix/MatrixDrawing.h"
#include "host/pictures/Drawing.h"
#include "host/system/HostDevice.h"
#include "platform/foundation/Date.h"

namespace host {
namespace {

using nlohmann::ordered_json;
namespace fs = std::filesystem;

struct SheetCell {
  const GalleryPicture* picture;
  const drawing::RenderedImage* pixels;
};

// The contact sheet of one scenario in one language: a row per system version and appearance,
// each caption in the colour of the gravest thing its picture shows.
Outcome writeSheet(StagedFolder& folder, const std::vector<SheetCell>& cells,
                   const EnglishFit& english, double scale) {
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
    const std::vector<Severity> shown = pictureSeverities(c.picture->facts(), english);
    rows[static_cast<std::size_t>(at - rowKeys.begin())].push_back(
        SheetPicture{c.pixels, c.picture->caption(shown), gravest(shown)});
  }
  std::string title =
      "Tamsa widgets · " + (first.scenario.empty() ? "" : first.scenario + " · ") + first.language;
  auto sheet = contactSheet(title, rows, scale);
  if (!sheet) return sheet.failure();
  return folder.write(fs::path(first.file).parent_path().string() + ".png", *sheet);
}

// Which part of which gallery a folder holds: its shard K of N (1 of 1 when whole) and the options
// that decide its cells' pictures, as resolved where the environment decides them. Shards are
// parts of one gallery only when all N are there and their options agree.
struct GalleryPart {
  int index = 1, count = 1;
  nlohmann::json options;  // by name, in the order of names, as read back from a shard

  ordered_json toJson() const { return {{"index", index}, {"count", count}}; }
};

GalleryPart galleryPart(const HostSession& s, const GalleryOptions& o, const Matrix& m) {
  const MatrixOptions& mo = o.matrix;
  auto given = [](const auto& v) { return v ? nlohmann::json(*v) : nlohmann::json(nullptr); };
  nlohmann::json scenarios = nlohmann::json::array(), languages = nlohmann::json::array(),
                 systems = nlohmann::json::array();
  for (const auto& n : m.scenarios) scenarios.push_back(n.name);
  for (const auto& g : m.groups)
    if (std::find(languages.begin(), languages.end(), g.language) == languages.end())
      languages.push_back(g.language);
  for (const auto& v : mo.systemVersions) systems.push_back(systemVersionWord(v));
  if (systems.empty()) systems.push_back(systemVersionWord(s.device.systemVersion));
  GalleryPart part;
  if (o.shard) part = {o.shard->index, o.shard->count, {}};
  part.options = {{"scenario", mo.scenarios ? scenarios : nlohmann::json(nullptr)},
                  {"scenarios", given(mo.scenarioFolder)},
                  {"language", languages},
                  {"os", systems},
                  {"device", mo.look.device.name},
                  {"scale", mo.look.scale},
                  {"locale", s.device.localeIdentifier},
                  {"time-zone", s.device.timeZoneIdentifier},
                  {"now", mo.device.now ? nlohmann::json(foundation::iso8601(*mo.device.now))
                                        : nlohmann::json(nullptr)},
                  {"hour-cycle", static_cast<int>(mo.device.hourCycle)},
                  {"resources", given(mo.device.resources)},
                  {"container", given(mo.device.container)}};
  return part;
}

Outcome writeSummaryFiles(StagedFolder& folder, const std::vector<GalleryPicture>& pictures,
                          const std::vector<ScenarioNote>& scenarios, const GalleryPart& part,
                          const std::vector<Finding>& findings) {
  ordered_json manifest = {{"shard", part.toJson()},
                           {"options", ordered_json(part.options)},
                           {"scenarios", ordered_json::array()},
                           {"pictures", ordered_json::array()}};
  for (const auto& s : scenarios)
    manifest["scenarios"].push_back({{"name", s.name}, {"description", s.description}});
  for (const auto& p : pictures) manifest["pictures"].push_back(p.toJson());
  ordered_json list = ordered_json::array();
  for (const auto& f : findings) list.push_back(f.toJson());
  ordered_json findingsJson = {{"counts", findingCounts(findings)}, {"findings", list}};
  if (auto r = folder.write("index.html", indexPage(pictures, scenarios, findings)); !r) return r;
  if (auto r = folder.write("gallery.json", manifest.dump(1) + "\n"); !r) return r;
  return folder.write("findings.json", findingsJson.dump(2) + "\n");
}

Outcome printSummary(const fs::path& out, const std::vector<GalleryPicture>& pictures,
                     const std::vector<Finding>& findings) {
  ordered_json sheets = ordered_json::array();
  std::string last;
  for (const auto& p : pictures) {
    std::string sheet = fs::path(p.file).parent_path().string() + ".png";
    if (sheet != last) sheets.push_back((out / sheet).string());
    last = sheet;
  }
  ordered_json list = ordered_json::array();
  for (const auto& f : findings) {
    ordered_json j = f.toJson();
    j.erase("pictures");  // findings.json has them
    list.push_back(std::move(j));
  }
  ordered_json summary = {{"directory", out.string()},
                          {"index", (out / "index.html").string()},
                          {"findingsFile", (out / "findings.json").string()},
                          {"sheets", sheets},
                          {"pictures", pictures.size()},
                          {"counts", findingCounts(findings)},
                          {"findings", std::move(list)}};
  return writeStandardOutput(summary.dump(2) + "\n");
}

// The baseline --baseline names; an empty one when --update-baseline is to write it first.
Result<std::optional<Baseline>> loadBaseline(const HostSession& s, const GalleryOptions& o) {
  if (!o.baseline) return std::optional<Baseline>();
  if (o.updateBaseline && s.files->kind(o.baseline->string()) == os::FileKind::missing)
    return std::optional<Baseline>(Baseline{});
  auto baseline = readBaseline(*s.files, *o.baseline);
  if (!baseline) return baseline.failure();
  return std::optional<Baseline>(std::move(*baseline));
}

// After the pictures: the findings, one per cause, marked against the baseline; the summary
// files, the folder put in place, the SARIF log and the baseline written; one line per new error
// or warning; the "found problems" status when new findings are as grave as --fail-on asks.
Outcome finish(const HostSession& s, const GalleryOptions& o, StagedFolder& folder,
               const std::vector<GalleryPicture>& pictures,
               const std::vector<ScenarioNote>& scenarios, const GalleryPart& part,
               const std::optional<Baseline>& baseline) {
  std::vector<PictureFacts> facts;
  facts.reserve(pictures.size());
  for (const auto& p : pictures) facts.push_back(p.facts());
  std::vector<Finding> findings = groupFindings(facts);
  if (baseline && !o.updateBaseline) applyBaseline(findings, *baseline);
  if (auto r = writeSummaryFiles(folder, pictures, scenarios, part, findings); !r) return r;
  if (auto r = folder.commit(); !r) return r;
  const std::string resources = s.device.mainBundle.bundlePath();
  const auto results = findingResults(findings, resources, baseline && !o.updateBaseline);
  if (o.sarif)
    if (auto r = writeFileAtomically(*s.files, *o.sarif, sarifLog(findingRules(), results)); !r)
      return r;
  if (o.updateBaseline)
    if (auto r =
            writeFileAtomically(*s.files, *o.baseline, baselineJson(findings, *baseline, o.reason));
        !r)
      return r;
  if (auto r = printSummary(o.output, pictures, findings); !r) return r;
  std::size_t failing = 0;
  for (std::size_t i = 0; i < findings.size() && !o.updateBaseline; ++i) {
    if (!findings[i].isNew() || findings[i].severity == Severity::note) continue;
    s.warn({findingLine(results[i]), Warning::Form::line});
    if (o.failOn && !graver(*o.failOn, findings[i].severity)) ++failing;
  }
  if (failing == 0) return Done{};
  return Failure::problems(std::to_string(failing) + " new finding" + (failing == 1 ? "" : "s") +
                           " (" + findingCounts(findings) + "); see " +
                           (o.output / "index.html").string());
}

// The gallery's side of the matrix drawing: each picture written as it is drawn, and a group's
// contact sheet made as soon as the group is complete, its pixels then handed back.
class GalleryRun {
 public:
  GalleryRun(const GalleryOptions& o, const Matrix& m, const HomeScreen& home, StagedFolder& folder)
      : o_(o),
        m_(m),
        home_(home),
        folder_(folder),
        slots_(m.cells.size()),
        groupBegin_(m.groups.size() + 1) {
    std::size_t i = 0;
    for (std::size_t g = 0; g < groupBegin_.size(); ++g) {
      groupBegin_[g] = i;
      while (i < m.cells.size() && m.cells[i].group == g) ++i;
    }
  }

  Outcome run() {
    MatrixHandlers handlers{
        [this](std::size_t i, DrawnPicture drawn) { return keep(i, std::move(drawn)); },
        [this](std::size_t g) { return sheet(g); }};
    return drawMatrix(m_, o_.matrix.look, home_, o_.jobs, handlers);
  }

  // In the gallery's one order.
  std::vector<GalleryPicture> pictures() {
    std::vector<GalleryPicture> out;
    for (auto& slot : slots_)
      if (slot.picture) out.push_back(std::move(*slot.picture));
    std::sort(out.begin(), out.end(),
              [](const GalleryPicture& a, const GalleryPicture& b) { return a.order < b.order; });
    return out;
  }

 private:
  struct Slot {
    std::optional<GalleryPicture> picture;
    std::optional<drawing::RenderedImage> pixels;
  };

  // On a drawing thread; each slot is written by one thread only.
  Outcome keep(std::size_t i, DrawnPicture drawn) {
    const MatrixCell& cell = m_.cells[i];
    const MatrixGroup& group = m_.groups[cell.group];
    const MatrixState& state = group.states[cell.state];
    const auto& member = state.members[cell.member];
    GalleryPicture p;
    p.scenario = group.scenario;
    p.system = state.system;
    p.language = group.language;
    p.appearance = cell.appearance;
    p.file = cell.name + ".png";
    p.order = cell.position;
    if (cell.family) {
      p.kind = std::get<widgetkit::WidgetConfiguration>(member).kind();
      p.family = familyName(*cell.family);
    } else {
      p.kind = std::get<widgetkit::ControlConfiguration>(member).kind();
      p.family = "control";
    }
    p.findings = findTextProblems(drawn.tree);
    if (cell.family) {
      p.overflow = contentOverflow(drawn.scene.layout);
      p.edgeOverflow = edgeOverflow(drawn.tree);
    }
    if (drawn.pixels)
      for (const TextContrast& c :
           textContrasts(drawn.tree, *drawn.pixels, colorScheme(cell.appearance)))
        if (!c.passes())
          p.contrasts.push_back({c.string, c.foregroundName, c.backgroundName, c.ratio, c.required,
                                 drawing::hexColor(c.foreground), drawing::hexColor(c.background)});
    p.toneMerges = toneMerges(drawn.tree, colorScheme(cell.appearance));
    if (auto r = folder_.write(p.file, drawn.bytes); !r) return r;
    if (auto r = folder_.write(p.reportFile(), drawing::layoutReport(drawn.tree).dump(2) + "\n");
        !r)
      return r;
    slots_[i].pixels = std::move(drawn.pixels);
    slots_[i].picture = std::move(p);
    return Done{};
  }

  // On the calling thread, once the group's cells are all kept.
  Outcome sheet(std::size_t g) {
    std::size_t begin = groupBegin_[g], end = groupBegin_[g + 1];
    std::vector<SheetCell> cells;
    for (std::size_t i = begin; i < end; ++i)
      if (slots_[i].pixels) {
        cells.push_back({&*slots_[i].picture, &*slots_[i].pixels});
        english_.learn(slots_[i].picture->facts());
      }
    if (auto r = writeSheet(folder_, cells, english_, o_.matrix.look.scale); !r) return r;
    for (std::size_t i = begin; i < end; ++i) slots_[i].pixels.reset();
    return Done{};
  }

  const GalleryOptions& o_;
  const Matrix& m_;
  const HomeScreen& home_;
  StagedFolder& folder_;
  std::vector<Slot> slots_;
  std::vector<std::size_t> groupBegin_;  // the first cell of each group; cells are by group
  EnglishFit english_;                   // of the groups whose sheets are made
};

// The matrix with each scenario's English group first, so that the English pictures of a place
// are known when the other languages' sheets are coloured. Positions, and so the gallery's
// order, stay as they are.
Matrix englishFirst(const Matrix& m) {
  std::vector<std::size_t> order;  // new group index -> old
  for (std::size_t g = 0; g < m.groups.size(); ++g) {
    if (std::find(order.begin(), order.end(), g) != order.end()) continue;
    for (std::size_t e = g; e < m.groups.size(); ++e)
      if (m.groups[e].scenario == m.groups[g].scenario && m.groups[e].language == "en")
        order.push_back(e);
    for (std::size_t o = g; o < m.groups.size(); ++o)
      if (m.groups[o].scenario == m.groups[g].scenario &&
          std::find(order.begin(), order.end(), o) == order.end())
        order.push_back(o);
  }
  std::vector<std::size_t> rank(m.groups.size());
  Matrix out{{}, {}, m.scenarios};
  for (std::size_t n = 0; n < order.size(); ++n) {
    rank[order[n]] = n;
    out.groups.push_back(m.groups[order[n]]);
  }
  out.cells = m.cells;
  for (auto& c : out.cells) c.group = rank[c.group];
  std::stable_sort(out.cells.begin(), out.cells.end(),
                   [](const MatrixCell& a, const MatrixCell& b) { return a.group < b.group; });
  return out;
}

constexpr std::size_t kMaxManifestBytes = std::size_t{256} << 20;
constexpr std::size_t kMaxPictureBytes = std::size_t{16} << 20;
constexpr std::size_t kMaxReportBytes = std::size_t{1} << 20;
constexpr double kLargestScale = 3;

// The largest picture this program draws: the largest widget of any device at the largest scale.
// A shard's picture that claims more was not drawn by it; it is refused from its header, before
// anything is decoded, so a doctored shard cannot make a merge allocate gigabytes.
drawing::PngSize largestPicture() {
  drawing::PngSize most;
  for (const auto& name : host::hostDeviceNames()) {
    auto device = host::hostDevice(name);
    for (auto family : {swiftui::WidgetFamily::systemSmall, swiftui::WidgetFamily::systemMedium,
                        swiftui::WidgetFamily::systemLarge}) {
      auto size = device ? device->widgetSize(family) : std::nullopt;
      if (!size) continue;
      most.width =
          std::max(most.width, static_cast<std::uint32_t>(std::ceil(size->width * kLargestScale)));
      most.height = std::max(most.height,
                             static_cast<std::uint32_t>(std::ceil(size->height * kLargestScale)));
    }
  }
  return most;
}

Result<std::string> readShardFile(const os::WritableFileSystem& files, const fs::path& path,
                                  std::size_t maxBytes) {
  auto bytes = readPlainFile(files, path, maxBytes);
  if (!bytes) return Failure::runtime("gallery --merge: " + bytes.failure().message);
  return bytes;
}

// A shard's picture, with its PNG and layout report.
struct ShardPicture {
  GalleryPicture picture;
  fs::path shard;
  const os::WritableFileSystem* files;

  Result<std::string> png() const {
    return readShardFile(*files, shard / picture.file, kMaxPictureBytes);
  }
  Result<std::string> report() const {
    return readShardFile(*files, shard / picture.reportFile(), kMaxReportBytes);
  }
};

// A cell found in two shards (the same shard given twice) must be the same cell.
Outcome checkSameCell(const ShardPicture& a, const ShardPicture& b) {
  auto pngA = a.png(), pngB = b.png(), reportA = a.report(), reportB = b.report();
  for (const auto* r : {&pngA, &pngB, &reportA, &reportB})
    if (!*r) return r->failure();
  if (a.picture.toJson() == b.picture.toJson() && *pngA == *pngB && *reportA == *reportB)
    return Done{};
  return Failure::runtime("gallery --merge: " + a.picture.file + " is in " + a.shard.string() +
                          " and in " + b.shard.string() + ", drawn differently");
}

// The PNG's pixels, for the sheet; a failure when it claims more than any widget at any scale.
Result<drawing::RenderedImage> sheetPixels(const ShardPicture& p, const std::string& png) {
  const drawing::PngSize most = largestPicture();
  auto size = drawing::pngSize(png);
  if (!size) return Failure::runtime("gallery --merge: " + p.picture.file + " is not a PNG");
  if (size->width > most.width || size->height > most.height)
    return Failure::runtime("gallery --merge: " + (p.shard / p.picture.file).string() + " is " +
                            std::to_string(size->width) + " × " + std::to_string(size->height) +
                            " px, larger than any widget at scale 3 (" +
                            std::to_string(most.width) + " × " + std::to_string(most.height) +
                            "); not a picture this program drew");
  auto decoded = drawing::decodePng(png, std::size_t{size->width} * size->height);
  if (!decoded) return Failure::runtime("gallery --merge: " + p.picture.file + " is not a PNG");
  return std::move(*decoded);
}

// The part of a gallery a shard's manifest says it holds; nothing when it says none (or nonsense).
std::optional<GalleryPart> recordedPart(const nlohmann::json& manifest) {
  const auto shard = manifest.find("shard");
  const auto options = manifest.find("options");
  if (shard == manifest.end() || options == manifest.end() || !shard->is_object() ||
      !options->is_object())
    return std::nullopt;
  const auto index = shard->find("index"), count = shard->find("count");
  if (index == shard->end() || count == shard->end() || !index->is_number_unsigned() ||
      !count->is_number_unsigned() || *index < 1 || *index > *count || *count > 1000000)
    return std::nullopt;
  return GalleryPart{index->get<int>(), count->get<int>(), *options};
}

// The options in which two parts differ, as "scale 1 and 3".
std::string optionsDiffering(const GalleryPart& a, const GalleryPart& b) {
  std::string out;
  for (const auto& [name, value] : a.options.items()) {
    const auto other = b.options.find(name);
    const std::string theirs = other == b.options.end() ? "none" : other->dump();
    if (value.dump() != theirs)
      out += (out.empty() ? "" : ", ") + name + " " + value.dump() + " and " + theirs;
  }
  for (const auto& [name, value] : b.options.items())
    if (!a.options.contains(name))
      out += (out.empty() ? "" : ", ") + name + " none and " + value.dump();
  return out;
}

// Each shard's pictures, each cell once, in the one order of the whole gallery; `part` becomes the
// options they share. Refused unless the shards are every part of one gallery.
Result<std::vector<ShardPicture>> shardPictures(const os::WritableFileSystem& files,
                                                const std::vector<fs::path>& shards,
                                                std::vector<ScenarioNote>& scenarios,
                                                GalleryPart& part) {
  std::vector<ShardPicture> pictures;
  std::map<std::string, std::size_t> byFile;
  std::map<std::size_t, std::string> byOrder;
  std::vector<bool> present;
  for (const auto& dir : shards) {
    auto manifest = readShardFile(files, dir / "gallery.json", kMaxManifestBytes);
    if (!manifest) return manifest.failure();
    auto json = nlohmann::json::parse(*manifest, nullptr, false);
    if (json.is_discarded() || !json.is_object() || !json.contains("pictures") ||
        !json["pictures"].is_array())
      return Failure::runtime("gallery --merge: " + (dir / "gallery.json").string() +
                              " is not a gallery's manifest");
    auto recorded = recordedPart(json);
    if (!recorded)
      return Failure::runtime("gallery --merge: " + (dir / "gallery.json").string() +
                              " does not say which shard it holds, drawn how (drawn by an older "
                              "tamsa-widgets? draw it again)");
    const std::string which = dir.string() + " (shard " + std::to_string(recorded->index) + "/" +
                              std::to_string(recorded->count) + ")";
    if (present.empty()) {
      part = *recorded;
      present.assign(static_cast<std::size_t>(part.count), false);
    } else if (recorded->count != part.count) {
      return Failure::runtime("gallery --merge: " + which + " is of a gallery split into " +
                              std::to_string(recorded->count) + " shards, " +
                              shards.front().string() + " of one split into " +
                              std::to_string(part.count) + "; the shards are not of one gallery");
    } else if (recorded->options != part.options) {
      return Failure::runtime("gallery --merge: " + which + " and " + shards.front().string() +
                              " were drawn with different options (" +
                              optionsDiffering(*recorded, part) +
                              "); the shards are not of one gallery");
    }
    present[static_cast<std::size_t>(recorded->index - 1)] = true;
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
      ShardPicture picture{std::move(*p), dir, &files};
      if (auto seen = byFile.find(picture.picture.file); seen != byFile.end()) {
        if (auto r = checkSameCell(pictures[seen->second], picture); !r) return r.failure();
        continue;
      }
      auto [place, fresh] = byOrder.emplace(picture.picture.order, picture.picture.file);
      if (!fresh)
        return Failure::runtime("gallery --merge: " + picture.picture.file + " (in " +
                                dir.string() + ") and " + place->second +
                                " take the same place; the shards are not of one gallery");
      byFile.emplace(picture.picture.file, pictures.size());
      pictures.push_back(std::move(picture));
    }
  }
  std::vector<std::string> missing;
  for (std::size_t k = 0; k < present.size(); ++k)
    if (!present[k]) missing.push_back(std::to_string(k + 1) + "/" + std::to_string(part.count));
  if (!missing.empty()) {
    std::string list;
    for (const auto& m : missing) list += (list.empty() ? "" : ", ") + m;
    return Failure::runtime(
        "gallery --merge: " +
        (missing.size() == 1 ? "shard " + list + " is" : "shards " + list + " are") +
        " missing; give every shard of the gallery");
  }
  std::sort(pictures.begin(), pictures.end(), [](const ShardPicture& a, const ShardPicture& b) {
    return a.picture.order < b.picture.order;
  });
  // Together they are the whole gallery.
  part.index = part.count = 1;
  return pictures;
}

Outcome runMerge(const HostSession& s, const GalleryOptions& o,
                 const std::optional<Baseline>& baseline) {
  auto folder = StagedFolder::prepare(s.files, o.output);
  if (!folder) return folder.failure();
  std::vector<ScenarioNote> scenarios;
  GalleryPart part;
  auto merged = shardPictures(*s.files, o.merge, scenarios, part);
  if (!merged) return merged.failure();
  EnglishFit english;  // the whole gallery's, so the sheets are coloured as one run colours them
  // The shards' scale (they agree on it): their sheets show pictures at one pixel a point.
  const auto recorded = part.options.find("scale");
  const double scale =
      recorded != part.options.end() && recorded->is_number() ? recorded->get<double>() : 1;
  for (const auto& p : *merged) english.learn(p.picture.facts());
  std::vector<GalleryPicture> pictures;
  // Group by group (a scenario in a language), as one run draws them: copied, then its sheet.
  for (std::size_t begin = 0; begin < merged->size();) {
    const fs::path group = fs::path((*merged)[begin].picture.file).parent_path();
    std::size_t end = begin;
    while (end < merged->size() && fs::path((*merged)[end].picture.file).parent_path() == group)
      ++end;
    std::vector<drawing::RenderedImage> images;
    for (std::size_t i = begin; i < end; ++i) {
      const ShardPicture& p = (*merged)[i];
      auto png = p.png();
      if (!png) return png.failure();
      auto pixels = sheetPixels(p, *png);
      if (!pixels) return pixels.failure();
      auto report = p.report();
      if (!report) return report.failure();
      if (auto r = folder->write(p.picture.file, *png); !r) return r;
      if (auto r = folder->write(p.picture.reportFile(), *report); !r) return r;
      images.push_back(std::move(*pixels));
      pictures.push_back(p.picture);
    }
    std::vector<SheetCell> cells;
    for (std::size_t i = begin; i < end; ++i) cells.push_back({&pictures[i], &images[i - begin]});
    if (auto r = writeSheet(*folder, cells, english, scale); !r) return r;
    begin = end;
  }
  return finish(s, o, *folder, pictures, scenarios, part, baseline);
}

}  // namespace

Outcome runGalleryCommand(const HostSession& s, const GalleryOptions& o) {
  if (auto fonts = drawing::pinnedFonts(); !fonts) return fonts.failure();
  auto baseline = loadBaseline(s, o);
  if (!baseline) return baseline.failure();
  if (!o.merge.empty()) return runMerge(s, o, *baseline);
  auto matrix = buildMatrix(s, o.matrix, o.shard);
  if (!matrix) return matrix.failure();
  auto home = loadHomeScreen(*s.files, o.matrix.look);
  if (!home) return home.failure();
  auto folder = StagedFolder::prepare(s.files, o.output);
  if (!folder) return folder.failure();
  const Matrix drawn = englishFirst(*matrix);
  GalleryRun run(o, drawn, *home, *folder);
  if (auto r = run.run(); !r) return r;
  return finish(s, o, *folder, run.pictures(), matrix->scenarios, galleryPart(s, o, *matrix),
                *baseline);
}

}  // namespace host
