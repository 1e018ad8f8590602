// Locale identifiers as the platform takes them: which ones ICU can use, and how a POSIX locale
// name ("zh_CN.UTF-8", "sr_RS@latin") becomes the language tag the platform's settings would list
// ("zh-Hans-CN", "sr-Latn-RS"). ICU crashes on some malformed identifiers, so every identifier that
// comes from outside passes canonicalLocaleIdentifier before it reaches ICU. Pure functions;
// thread-safe.
#pragma once

#include <optional>
#include <string>
#include <string_view>

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

}  // namespace foundation
