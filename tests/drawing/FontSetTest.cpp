// The program draws with its declared fonts only, whatever the text and whatever else the machine
// has installed, and says which package to install when one is missing.
#include "drawing/FontSet.h"

#include <fnmatch.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "drawing/PangoTextMeasurer.h"
#include "platform/os/MemoryFileSystem.h"

namespace drawing {
namespace {

bool declared(const std::string& path) {
  for (const DeclaredFont& font : declaredFonts())
    if (fnmatch(std::string(font.path).c_str(), path.c_str(), FNM_PATHNAME) == 0) return true;
  return false;
}

TEST(FontSet, EveryFaceDrawnIsADeclaredOne) {
  const PangoTextMeasurer measurer(2);
  // Scripts the named families have, scripts they lack, emoji, symbols the machine has other
  // fonts for (DejaVu), and a character no font has.
  const char* texts[] = {"Balance $1,234", "الرصيد",    "יתרה",     "残高 잔액 余额",
                         "ยอดคงเหลือ",      "शेष राशि",   "Υπόλοιπο", "🏖️ 💰 👩🏽‍💻",
                         "∑ ⌘ ☃ ♞",        "\U0010FFFD"};
  for (const char* text : texts)
    for (auto weight : {swiftui::Font::Weight::regular, swiftui::Font::Weight::bold})
      for (const FontFace& face : measurer.facesUsed(text, swiftui::Font{13, weight}, "en"))
        EXPECT_TRUE(declared(face.path)) << text << " drawn with " << face.path;
  // The colour emoji, not a monochrome symbol font that has the same characters.
  auto emoji = measurer.facesUsed("💰", swiftui::Font{13}, "en");
  ASSERT_EQ(emoji.size(), 1u);
  EXPECT_EQ(emoji[0].face, "Noto Color Emoji Regular");
  // A bitmap font is scaled to the size asked for: the emoji is about as tall as the letters.
  const double letters =
      measurer.measure("Mg", swiftui::Font{13}, std::nullopt, 1, "en").size.height;
  EXPECT_LE(measurer.measure("💰", swiftui::Font{13}, std::nullopt, 1, "en").size.height,
            letters * 1.5);
}

// Only a text whose every character a named text face has is laid out with those fonts alone.
TEST(FontSet, ATextReachesEveryDeclaredFontForOneCharacterTheNamedFamiliesLack) {
  for (std::string_view text :
       {"Balance: 1 234,56 €", "Số dư ₫…", "الرصيد", "יתרה", "残高 잔액", "two\nlines", ""})
    EXPECT_EQ(reachOf(text), FontReach::namedFamilies) << text;
  using namespace std::string_view_literals;
  for (std::string_view text : {"Balance ยอด"sv, "Balance 💰"sv, "残高\U0010FFFD"sv,
                                "a\x80"
                                "b"sv,
                                "ab\xE6\xAE"sv, "a\0b"sv})
    EXPECT_EQ(reachOf(text), FontReach::everyDeclaredFont) << text;
}

TEST(FontSet, AMissingFontNamesItsPackage) {
  os::MemoryFileSystem files;
  files.addFile("/fonts/A.otf", "");
  const DeclaredFont fonts[] = {{"fonts-a", "/fonts/A.otf"},
                                {"fonts-more", "/fonts/More*.otf", DeclaredFont::Kind::pattern},
                                {"fonts-b", "/fonts/B.otf"}};
  auto config = buildFontConfig(fonts, files);
  ASSERT_FALSE(config);
  EXPECT_EQ(config.failure().message,
            "the font /fonts/B.otf is missing: install the Debian package fonts-b "
            "(scripts/bootstrap does)");
  // A pattern matching nothing is no fault: it is a fallback.
  auto built = buildFontConfig(std::span(fonts, 2), files);
  ASSERT_TRUE(built);
  FcConfigDestroy(*built);
}

// A folder without a current cache is read for the declared files alone; that partial list must
// not be left as the folder's cache, where other programs would take it for all of its fonts.
TEST(FontSet, AFolderWithoutACacheIsReadButNoCacheIsWritten) {
  namespace fs = std::filesystem;
  const fs::path base = fs::path(::testing::TempDir()) / "font-set-scan";
  fs::remove_all(base);
  fs::create_directories(base / "fonts");
  fs::create_directories(base / "cache");
  for (const char* name : {"Inter-Regular.otf", "Inter-Bold.otf"})
    fs::copy_file(fs::path("/usr/share/fonts/opentype/inter") / name, base / "fonts" / name);
  auto listing = [](const fs::path& dir) {  // empty for a folder that is not there
    std::set<std::string> out;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
      out.insert(it->path().filename());
    return out;
  };
  const auto systemCaches = listing("/var/cache/fontconfig");
  const char* home = std::getenv("XDG_CACHE_HOME");
  const std::string saved = home ? home : "";
  setenv("XDG_CACHE_HOME", (base / "cache").c_str(), 1);
  const std::string regular = (base / "fonts" / "Inter-Regular.otf").string();
  const DeclaredFont fonts[] = {{"fonts-inter", regular}};
  auto config = buildFontConfig(fonts, *os::posixFileSystem());
  home ? setenv("XDG_CACHE_HOME", saved.c_str(), 1) : unsetenv("XDG_CACHE_HOME");
  ASSERT_TRUE(config) << config.failure().message;
  FcFontSet* found = FcConfigGetFonts(*config, FcSetSystem);
  ASSERT_TRUE(found && found->nfont == 1);
  FcConfigDestroy(*config);
  EXPECT_TRUE(listing(base / "cache").empty());
  EXPECT_TRUE(listing(base / "fonts").size() == 2);
  EXPECT_EQ(listing("/var/cache/fontconfig"), systemCaches);
}

}  // namespace
}  // namespace drawing
