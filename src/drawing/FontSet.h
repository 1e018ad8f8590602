// The fonts the program draws with, and no others. Each is named here once with the Debian package
// that installs it, and they are loaded through a font configuration the program builds itself:
// the machine's font configuration is never read and no other font on the machine is seen, so a
// picture is the same on every machine that has these packages, and starting costs no parse of
// the machine's configuration.
//
// The order of fallback is ours: a text's language chooses the first families (the measurer's
// list), and a character none of them has comes from the declared Noto faces of its script.
#pragma once

#include <fontconfig/fontconfig.h>

#include <span>
#include <string>
#include <string_view>

#include "base/Result.h"
#include "platform/os/FileSystem.h"

namespace drawing {

struct DeclaredFont {
  std::string_view package;
  // One font file, which must exist; or, with `pattern`, a glob of files beside it for scripts
  // that the named families lack (taken as they are found).
  std::string_view path;
  enum class Kind { file, pattern } kind = Kind::file;
};

// The program's fonts, in one place.
std::span<const DeclaredFont> declaredFonts();

// A font configuration holding exactly `fonts`, reading the system's font caches where they are
// current (scanning a folder whose cache is stale). A runtime failure names a missing file and
// the package that installs it.
base::Result<FcConfig*> buildFontConfig(std::span<const DeclaredFont> fonts,
                                        const os::FileSystem& files);

// How many of the declared fonts a text needs. The named families (the declared single files:
// Inter, the Arabic, Hebrew and CJK faces and the emoji) cover nearly every text, and a
// configuration of them alone is several times cheaper to lay out with: fontconfig sorts all the
// fonts it holds for each new font size. The result is the same, because the named families come
// first in every fallback order; only a character they lack needs every declared font.
enum class FontReach { namedFamilies, everyDeclaredFont };

// The declared fonts' configuration of that reach, built on first use; the named families' is
// made fontconfig's current one for the process (Pango asks fontconfig for the current
// configuration on a thread of its own, which would otherwise read the machine's) and is built
// before the other. The same answer every time. The named families' failure names a missing
// file and its package.
base::Result<FcConfig*> pinnedFonts(FontReach reach = FontReach::namedFamilies);

// The reach a text needs: the named families when their text faces (the emoji aside) have every
// character of it; every declared font otherwise, also for text that is not UTF-8.
FontReach reachOf(std::string_view text);

}  // namespace drawing
