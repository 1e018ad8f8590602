#include "drawing/FontSet.h"

#include <array>
#include <set>

#include "base/MarkupText.h"

namespace drawing {
namespace {

using Kind = DeclaredFont::Kind;

constexpr std::array kDeclared = {
    DeclaredFont{"fonts-inter", "/usr/share/fonts/opentype/inter/Inter-Regular.otf"},
    DeclaredFont{"fonts-inter", "/usr/share/fonts/opentype/inter/Inter-Medium.otf"},
    DeclaredFont{"fonts-inter", "/usr/share/fonts/opentype/inter/Inter-Bold.otf"},
    DeclaredFont{"fonts-noto-ui-core",
                 "/usr/share/fonts/truetype/noto/NotoSansArabicUI-Regular.ttf"},
    DeclaredFont{"fonts-noto-ui-core", "/usr/share/fonts/truetype/noto/NotoSansArabicUI-Bold.ttf"},
    DeclaredFont{"fonts-noto-core", "/usr/share/fonts/truetype/noto/NotoSansHebrew-Regular.ttf"},
    DeclaredFont{"fonts-noto-core", "/usr/share/fonts/truetype/noto/NotoSansHebrew-Bold.ttf"},
    DeclaredFont{"fonts-noto-cjk", "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"},
    DeclaredFont{"fonts-noto-cjk", "/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc"},
    DeclaredFont{"fonts-noto-color-emoji", "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf"},
    // Every other script, in the weights the widgets draw with.
    DeclaredFont{"fonts-noto-core", "/usr/share/fonts/truetype/noto/NotoSans*-Regular.ttf",
                 Kind::pattern},
    DeclaredFont{"fonts-noto-core", "/usr/share/fonts/truetype/noto/NotoSans*-Medium.ttf",
                 Kind::pattern},
    DeclaredFont{"fonts-noto-core", "/usr/share/fonts/truetype/noto/NotoSans*-Bold.ttf",
                 Kind::pattern},
};

// Pango asks for the family "emoji" for emoji runs: the colour font. A font of bitmaps (the colour
// emoji are) comes in fixed pixel sizes: it is scaled to the size asked for, as outlines are.
constexpr const char* kEmojiAndBitmaps = R"(
<alias binding="same"><family>emoji</family><prefer><family>Noto Color Emoji</family></prefer></alias>
<match target="font">
  <test name="outline"><bool>false</bool></test>
  <edit name="matrix" mode="assign"><times><name>matrix</name><matrix>
    <divide><name target="pattern">pixelsize</name><name target="font">pixelsize</name></divide>
    <double>0</double><double>0</double>
    <divide><name target="pattern">pixelsize</name><name target="font">pixelsize</name></divide>
  </matrix></times></edit>
</match>)";

std::string folderOf(std::string_view path) {
  return std::string(path.substr(0, path.rfind('/')));
}

}  // namespace

std::span<const DeclaredFont> declaredFonts() {
  return kDeclared;
}

base::Result<FcConfig*> buildFontConfig(std::span<const DeclaredFont> fonts,
                                        const os::FileSystem& files) {
  std::set<std::string> folders;
  std::string accepted;
  for (const DeclaredFont& font : fonts) {
    if (font.kind == Kind::file && files.kind(std::string(font.path)) != os::FileKind::file)
      return base::Failure::runtime("the font " + std::string(font.path) +
                                    " is missing: install the Debian package " +
                                    std::string(font.package) + " (scripts/bootstrap does)");
    folders.insert(folderOf(font.path));
    accepted += "<glob>" + base::escapeMarkup(font.path) + "</glob>";
  }
  FcConfig* config = FcConfigCreate();
  auto load = [&](const std::string& part) {
    const std::string xml = "<?xml version=\"1.0\"?><fontconfig>" + part + "</fontconfig>";
    return config && FcConfigParseAndLoadFromMemory(
                         config, reinterpret_cast<const FcChar8*>(xml.c_str()), FcFalse);
  };
  // The caches fc-cache keeps for the whole folders are read, and only the declared files taken
  // from them. A folder without a current cache is scanned for those files alone, and such a
  // cache must never be written where other programs would read it as the folder's: so the
  // caches are named only when every folder has a current one.
  const std::string caches =
      "<cachedir>/var/cache/fontconfig</cachedir><cachedir prefix=\"xdg\">fontconfig</cachedir>";
  bool cached = load(caches);
  for (const std::string& folder : folders) {
    FcCache* cache =
        cached ? FcDirCacheLoad(reinterpret_cast<const FcChar8*>(folder.c_str()), config, nullptr)
               : nullptr;
    cached = cache != nullptr;
    if (cache) FcDirCacheUnload(cache);
  }
  if (!cached) {
    if (config) FcConfigDestroy(config);
    config = FcConfigCreate();
  }
  std::string part;
  for (const std::string& folder : folders) part += "<dir>" + base::escapeMarkup(folder) + "</dir>";
  part += std::string(kEmojiAndBitmaps) +
          "<selectfont><rejectfont><glob>*</glob></rejectfont><acceptfont>" + accepted +
          "</acceptfont></selectfont>";
  if (!load(part) || !FcConfigBuildFonts(config)) {
    if (config) FcConfigDestroy(config);
    return base::Failure::runtime("the program's font configuration could not be built");
  }
  return config;
}

base::Result<FcConfig*> pinnedFonts() {
  static const base::Result<FcConfig*> pinned = [] {
    auto config = buildFontConfig(kDeclared, *os::posixFileSystem());
    if (config) FcConfigSetCurrent(*config);
    return config;
  }();
  return pinned;
}

}  // namespace drawing
