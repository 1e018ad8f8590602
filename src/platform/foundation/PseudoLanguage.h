// Pseudo-languages: texts made from the development language's table when a bundle is asked for
// one, as the platform's pseudo-localizations do, so a layout can be tried with longer or
// right-to-left texts before any translation exists. Format conversions ("%@", "%1$@") are kept
// as they are; a text without letters (a sign such as "+") has nothing to translate and stays as
// it is. Pure functions; thread-safe.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {

enum class PseudoLanguage {
  accented,     // "en-XA": "[Ţĥîš Ḿöñţĥ one two]", accented and about 40 % longer
  doubled,      // "en-XL": every text twice as long
  rightToLeft,  // "ar-XB": the text in right-to-left overrides, laid out right to left
};

inline constexpr std::array<const char*, 3> pseudoLanguageNames{"en-XA", "en-XL", "ar-XB"};

// The pseudo-language a localization name means ("en-XA", also "en_XA" and in any case).
std::optional<PseudoLanguage> pseudoLanguageNamed(std::string_view name);

// The text as the pseudo-language shows it.
std::string pseudoLocalized(std::string_view text, PseudoLanguage language);

}  // namespace foundation
