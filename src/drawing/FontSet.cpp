#include "drawing/FontSet.h"

#include <algorithm>
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

base::Result<FcConfig*> pinnedFonts(FontReach reach) {
  static const base::Result<FcConfig*> named = [] {
    // The single files come first in the list; the patterns after them.
    const auto files = std::find_if(kDeclared.begin(), kDeclared.end(),
                                    [](const DeclaredFont& f) { return f.kind == Kind::pattern; });
    auto config = buildFontConfig(std::span(kDeclared.begin(), files), *os::posixFileSystem());
    if (config) FcConfigSetCurrent(*config);
    return config;
  }();
  if (reach == FontReach::namedFamilies || !named) return named;
  static const base::Result<FcConfig*> every = buildFontConfig(kDeclared, *os::posixFileSystem());
  return every;
}

FontReach reachOf(std::string_view text) {
  struct Coverage {
    FcCharSet* set = FcCharSetCreate();
    Coverage() {
      auto config = pinnedFonts(FontReach::namedFamilies);
      FcFontSet* fonts = config ? FcConfigGetFonts(*config, FcSetSystem) : nullptr;
      for (int i = 0; fonts && set && i < fonts->nfont; ++i) {
        FcBool colour = FcFalse;
        FcCharSet* chars = nullptr;
        // Emoji runs ask for the emoji family by name; a text face is what every other run gets.
        if (FcPatternGetBool(fonts->fonts[i], FC_COLOR, 0, &colour) == FcResultMatch && colour)
          continue;
        if (FcPatternGetCharSet(fonts->fonts[i], FC_CHARSET, 0, &chars) == FcResultMatch)
          FcCharSetMerge(set, chars, nullptr);
      }
    }
  };
  static const Coverage named;
  if (!named.set) return FontReach::everyDeclaredFont;
  const auto* bytes = reinterpret_cast<const FcChar8*>(text.data());
  for (std::size_t at = 0; at < text.size();) {
    FcChar32 c = 0;
    const int length =
        FcUtf8ToUcs4(bytes + at, &c, static_cast<int>(std::min<std::size_t>(text.size() - at, 4)));
    if (length <= 0) return FontReach::everyDeclaredFont;
    if (c != '\n' && !FcCharSetHasChar(named.set, c)) return FontReach::everyDeclaredFont;
    at += static_cast<std::size_t>(length);
  }
  return FontReach::namedFamilies;
}

}  // namespace drawing
