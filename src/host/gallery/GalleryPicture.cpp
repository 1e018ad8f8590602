#include "host/gallery/GalleryPicture.h"

#include <cmath>

#include "host/core/Names.h"
#include "host/core/SafePathComponent.h"

namespace host {
namespace {

using nlohmann::ordered_json;

// True when every component of a relative path is its own safe form and it ends in `suffix`.
bool isSafeRelativeFile(const std::string& path, const std::string& suffix) {
  if (path.size() <= suffix.size() ||
      path.compare(path.size() - suffix.size(), suffix.size(), suffix) != 0)
    return false;
  std::size_t start = 0;
  while (true) {
    std::size_t slash = path.find('/', start);
    std::string part =
        path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    if (safePathComponent(part) != part) return false;
    if (slash == std::string::npos) return true;
    start = slash + 1;
  }
}

}  // namespace

std::string GalleryPicture::appearanceName() const {
  return std::string(kAppearanceNames.nameOf(appearance));
}

PictureFacts GalleryPicture::facts() const {
  return {file,     scenario, system,       language,  kind,      family, appearanceName(),
          findings, overflow, edgeOverflow, contrasts, toneMerges};
}

std::string GalleryPicture::caption(const std::vector<Severity>& shown) const {
  std::string c = family == "control" ? "control · " + appearanceName()
                                      : kind + " · " + family + " · " + appearanceName();
  if (!system.empty()) c += " · " + system;
  if (!shown.empty()) c += " · " + severityCounts(shown);
  return c;
}

std::string GalleryPicture::reportFile() const {
  return file.substr(0, file.size() - 4) + ".json";
}

ordered_json GalleryPicture::toJson() const {
  ordered_json findingsJson = ordered_json::array();
  for (const auto& f : findings) {
    findingsJson.push_back({{"string", f.string},
                            {"drawn", f.drawn},
                            {"fontSize", f.fontSize},
                            {"shrunk", f.shrunk},
                            {"truncated", f.truncated},
                            {"missingGlyphs", f.missingGlyphs},
                            {"minimumFontSize", f.minimumFontSize}});
    if (f.language) findingsJson.back()["language"] = *f.language;
    if (f.table)
      findingsJson.back().update({{"table", *f.table}, {"key", *f.key}, {"line", *f.line}});
  }
  ordered_json contrastJson = ordered_json::array();
  for (const auto& c : contrasts)
    contrastJson.push_back({{"string", c.string},
                            {"foreground", c.foreground},
                            {"background", c.background},
                            {"ratio", c.ratio},
                            {"required", c.required},
                            {"foregroundColor", c.foregroundColor},
                            {"backgroundColor", c.backgroundColor}});
  ordered_json toneJson = ordered_json::array();
  for (const auto& m : toneMerges)
    toneJson.push_back({{"first", m.first},
                        {"second", m.second},
                        {"firstString", m.firstString},
                        {"secondString", m.secondString}});
  return {{"scenario", scenario},     {"system", system},
          {"language", language},     {"kind", kind},
          {"family", family},         {"appearance", appearanceName()},
          {"picture", file},          {"order", order},
          {"overflow", overflow},     {"edgeOverflow", edgeOverflow},
          {"findings", findingsJson}, {"contrasts", contrastJson},
          {"toneMerges", toneJson}};
}

Result<GalleryPicture> GalleryPicture::fromJson(const nlohmann::json& e) {
  auto bad = [](const std::string& why) {
    return Failure::runtime("gallery.json: a picture entry " + why);
  };
  try {
    GalleryPicture p;
    p.scenario = e.at("scenario").get<std::string>();
    p.system = e.at("system").get<std::string>();
    p.language = e.at("language").get<std::string>();
    p.kind = e.at("kind").get<std::string>();
    p.family = e.at("family").get<std::string>();
    std::string appearance = e.at("appearance").get<std::string>();
    auto known = kAppearanceNames.valueOf(appearance);
    if (!known) return bad("has an unknown appearance");
    p.appearance = *known;
    p.file = e.at("picture").get<std::string>();
    if (!isSafeRelativeFile(p.file, ".png"))
      return bad("names a file outside its gallery: '" + p.file + "'");
    p.order = e.at("order").get<std::size_t>();
    p.overflow = e.at("overflow").get<double>();
    p.edgeOverflow = e.at("edgeOverflow").get<double>();
    for (const auto& c : e.at("contrasts"))
      p.contrasts.push_back(
          {c.at("string").get<std::string>(), c.at("foreground").get<std::string>(),
           c.at("background").get<std::string>(), c.at("ratio").get<double>(),
           c.at("required").get<double>(), c.at("foregroundColor").get<std::string>(),
           c.at("backgroundColor").get<std::string>()});
    // Galleries drawn before the accented looks have none.
    for (const auto& m : e.value("toneMerges", nlohmann::json::array()))
      p.toneMerges.push_back({m.at("first").get<std::string>(), m.at("second").get<std::string>(),
                              m.at("firstString").get<std::string>(),
                              m.at("secondString").get<std::string>()});
    for (const auto& f : e.at("findings")) {
      p.findings.push_back(
          TextFinding{f.at("string").get<std::string>(), f.at("drawn").get<std::string>(),
                      f.at("fontSize").get<double>(), f.at("shrunk").get<bool>(),
                      f.at("truncated").get<bool>(), f.at("missingGlyphs").get<int>()});
      if (f.contains("table")) {
        p.findings.back().table = f.at("table").get<std::string>();
        p.findings.back().key = f.at("key").get<std::string>();
        p.findings.back().line = f.at("line").get<int>();
      }
      if (f.contains("language")) p.findings.back().language = f.at("language").get<std::string>();
      p.findings.back().minimumFontSize = f.at("minimumFontSize").get<double>();
    }
    return p;
  } catch (const nlohmann::json::exception& ex) {
    return bad(std::string("is malformed: ") + ex.what());
  }
}

}  // namespace host
