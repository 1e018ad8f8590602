#include "host/snapshot/FontCensus.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangofc-font.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "drawing/GraphicsHandles.h"
#include "drawing/PangoTextMeasurer.h"

namespace host {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;

std::optional<swiftui::Font::Weight> weightFromName(const std::string& name) {
  for (auto w :
       {swiftui::Font::Weight::regular, swiftui::Font::Weight::medium, swiftui::Font::Weight::bold})
    if (name == swiftui::weightName(w)) return w;
  return std::nullopt;
}

void collect(const json& node, std::set<std::tuple<std::string, std::string, std::string>>& out) {
  if (!node.is_object()) return;
  auto drawn = node.find("drawn");
  if (drawn != node.end() && drawn->is_string() && !drawn->get<std::string>().empty()) {
    auto text = [&](const char* key) {
      auto at = node.find(key);
      return at != node.end() && at->is_string() ? at->get<std::string>() : std::string();
    };
    out.emplace(drawn->get<std::string>(), text("language"), text("fontWeight"));
  }
  auto children = node.find("children");
  if (children != node.end() && children->is_array())
    for (const auto& c : *children) collect(c, out);
}

std::string sha256Of(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "";
  GChecksum* sum = g_checksum_new(G_CHECKSUM_SHA256);
  std::vector<char> buffer(1 << 20);
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    g_checksum_update(sum, reinterpret_cast<const guchar*>(buffer.data()), in.gcount());
  }
  std::string out = g_checksum_get_string(sum);
  g_checksum_free(sum);
  return out;
}

// The font file behind a run's font: its path, the face used ("Inter Bold") and its version.
struct FaceUsed {
  std::string path, family, version;
};

std::optional<FaceUsed> faceOf(PangoFont* font) {
  if (!font || !PANGO_IS_FC_FONT(font)) return std::nullopt;
  FcPattern* pattern = pango_fc_font_get_pattern(PANGO_FC_FONT(font));
  FcChar8* file = nullptr;
  FcChar8* family = nullptr;
  FcChar8* style = nullptr;
  int version = 0;
  if (!pattern || FcPatternGetString(pattern, FC_FILE, 0, &file) != FcResultMatch)
    return std::nullopt;
  FaceUsed face{reinterpret_cast<const char*>(file), "", ""};
  if (FcPatternGetString(pattern, FC_FAMILY, 0, &family) == FcResultMatch)
    face.family = reinterpret_cast<const char*>(family);
  if (FcPatternGetString(pattern, FC_STYLE, 0, &style) == FcResultMatch)
    face.family += " " + std::string(reinterpret_cast<const char*>(style));
  if (FcPatternGetInteger(pattern, FC_FONTVERSION, 0, &version) == FcResultMatch) {
    char text[32];  // the font's own version, a 16.16 fixed-point number
    std::snprintf(text, sizeof text, "%.3f", version / 65536.0);
    face.version = text;
  }
  return face;
}

}  // namespace

ordered_json FontFile::toJson() const {
  return {
      {"faces", faces}, {"path", path}, {"version", version}, {"size", size}, {"sha256", sha256}};
}

std::optional<FontFile> FontFile::fromJson(const json& e) {
  if (!e.is_object()) return std::nullopt;
  FontFile f;
  for (auto [key, target] : {std::pair{"faces", &f.faces}, std::pair{"path", &f.path},
                             std::pair{"version", &f.version}, std::pair{"sha256", &f.sha256}}) {
    auto at = e.find(key);
    if (at == e.end() || !at->is_string()) return std::nullopt;
    *target = at->get<std::string>();
  }
  auto size = e.find("size");
  if (size == e.end() || !size->is_number_unsigned()) return std::nullopt;
  f.size = size->get<std::uintmax_t>();
  return f;
}

void TextCensus::add(const json& report) {
  if (report.is_object() && report.contains("root")) collect(report["root"], texts_);
}

void TextCensus::merge(const TextCensus& other) {
  texts_.insert(other.texts_.begin(), other.texts_.end());
}

std::vector<FontFile> TextCensus::fontFiles() const {
  drawing::PangoTextMeasurer measurer;
  drawing::CairoSurface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1));
  drawing::CairoContext cr(cairo_create(surface.get()));
  drawing::PangoContextHandle context = measurer.drawingContext(cr.get());
  drawing::PangoLayoutHandle layout(pango_layout_new(context.get()));
  std::map<std::string, std::pair<std::set<std::string>, std::string>> faces;  // by path
  for (const auto& [drawn, language, weight] : texts_) {
    swiftui::Font font =
        swiftui::Font::system(17, weightFromName(weight).value_or(swiftui::Font::Weight::regular));
    std::optional<std::string> lang;
    if (!language.empty()) lang = language;
    measurer.configure(layout.get(), drawn, font, std::nullopt, lang);
    drawing::PangoLayoutIterHandle runs(pango_layout_get_iter(layout.get()));
    do {
      PangoLayoutRun* run = pango_layout_iter_get_run_readonly(runs.get());
      if (!run) continue;
      if (auto face = faceOf(run->item->analysis.font)) {
        auto& entry = faces[face->path];
        entry.first.insert(face->family);
        entry.second = face->version;
      }
    } while (pango_layout_iter_next_run(runs.get()));
  }
  std::vector<FontFile> out;
  for (const auto& [path, used] : faces) {
    FontFile f;
    for (const auto& family : used.first) f.faces += (f.faces.empty() ? "" : ", ") + family;
    f.path = path;
    f.version = used.second;
    std::error_code ec;
    f.size = std::filesystem::file_size(path, ec);
    f.sha256 = sha256Of(path);
    out.push_back(std::move(f));
  }
  return out;
}

std::vector<std::string> fontDifferences(const std::vector<FontFile>& recorded,
                                         const std::vector<FontFile>& now) {
  std::vector<std::string> out;
  auto described = [](const FontFile& f) {
    return "version " + f.version + ", " + std::to_string(f.size) + " bytes, sha256 " +
           f.sha256.substr(0, 12) + " (" + f.path + ")";
  };
  for (const auto& r : recorded) {
    auto here =
        std::find_if(now.begin(), now.end(), [&](const FontFile& n) { return n.faces == r.faces; });
    if (here == now.end())
      out.push_back(r.faces + ": recorded with " + described(r) + "; not used here");
    else if (here->sha256 != r.sha256)
      out.push_back(r.faces + ": recorded with " + described(r) + "; here " + described(*here));
  }
  for (const auto& n : now)
    if (std::none_of(recorded.begin(), recorded.end(),
                     [&](const FontFile& r) { return r.faces == n.faces; }))
      out.push_back(n.faces + ": used here (" + described(n) + "); not in the recording");
  return out;
}

}  // namespace host
