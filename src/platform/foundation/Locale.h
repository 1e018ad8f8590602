// Locale identifiers as the platform takes them: which ones ICU can use, and how a POSIX locale
// name ("zh_CN.UTF-8", "sr_RS@latin") becomes the language tag the platform's settings would list
// ("zh-Hans-CN", "sr-Latn-RS"). ICU crashes on some malformed identifiers, so every identifier that
// comes from outside passes canonicalLocaleIdentifier before it reaches ICU. Pure functions;
// thread-safe.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {

// The canonical ICU form of a locale identifier ("de-DE" and "de_DE.UTF-8" give "de_DE"), or
// nothing when ICU cannot use it: empty, not printable ASCII, malformed (ICU finds it bogus, or a
// keyword lacks its key or value) or naming a language ICU's data does not know ("C",
// "abcdefghijkl", "1234567890123").
std::optional<std::string> canonicalLocaleIdentifier(const std::string& identifier);

// The canonical identifier, or "en_US" (the platform's fallback) when it cannot be used.
std::string usableLocaleIdentifier(const std::string& identifier);

// The language tag for a POSIX locale name: the codeset goes, "@latin"/"@cyrillic"/"@devanagari"
// become a script, Chinese gets the script its region implies (zh_CN, zh_SG -> Hans; zh_TW, zh_HK,
// zh_MO -> Hant). Nothing for "C", "POSIX", empty or malformed names.
std::optional<std::string> languageTagFromPosixLocale(std::string_view name);

// A language tag's parts in the case the platform compares them in: "pt_br" and "PT-BR" are both
// {"pt", "", "BR"}. Old codes name the language they were replaced by ("iw" is "he", "in" is "id",
// "ji" is "yi"), so a tag and its old form are the same tag.
struct LanguageTag {
  std::string language;           // lower case
  std::string script;             // "Hant", or empty
  std::string region;             // "BR", "419", or empty
  std::vector<std::string> rest;  // variants and extensions, lower case

  bool operator==(const LanguageTag&) const = default;
};

// The parts of a tag ("-" or "_" between subtags): nothing for a text that is not one (empty, a
// first subtag that is not 2 to 8 letters, a subtag that is not 1 to 8 letters or digits, longer
// than any tag the platform lists).
std::optional<LanguageTag> parseLanguageTag(std::string_view tag);

// The script the tag's texts are written in: its own, else the one ICU's likely-subtags data gives
// its language and region ("zh-TW" -> "Hant", "pt-PT" -> "Latn"); empty for a language ICU does not
// know.
std::string writtenScript(const LanguageTag& tag);

// The region ICU's likely-subtags data gives a language written in a script ("pt", "Latn" ->
// "BR"): the region whose variant counts as the language's own. Empty when unknown.
std::string likelyRegion(const std::string& language, const std::string& script);

// Whether texts in the language are written right to left: its script is (Arabic, Hebrew,
// Persian, Urdu, Yiddish, "ar-XB"...). False for a text that is not a language tag.
bool isRightToLeftLanguage(std::string_view tag);

}  // namespace foundation
