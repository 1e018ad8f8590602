#include "host/snapshot/FontCensus.h"

#include <glib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

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

void TextCensus::add(const drawing::LayoutTree& tree) {
  for (const drawing::LayoutTreeNode* node : tree.texts())
    if (!node->text->drawn.empty())
      texts_.emplace(node->text->drawn, node->text->language.value_or(""),
                     swiftui::weightName(node->text->fontWeight));
}

void TextCensus::merge(const TextCensus& other) {
  texts_.insert(other.texts_.begin(), other.texts_.end());
}

std::vector<FontFile> TextCensus::fontFiles() const {
  drawing::PangoTextMeasurer measurer;
  std::map<std::string, std::pair<std::set<std::string>, std::string>> faces;  // by path
  for (const auto& [drawn, language, weight] : texts_) {
    swiftui::Font font =
        swiftui::Font::system(17, weightFromName(weight).value_or(swiftui::Font::Weight::regular));
    std::optional<std::string> lang;
    if (!language.empty()) lang = language;
    for (const drawing::FontFace& face : measurer.facesUsed(drawn, font, lang)) {
      auto& entry = faces[face.path];
      entry.first.insert(face.face);
      entry.second = face.version;
    }
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
