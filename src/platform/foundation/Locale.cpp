// Locale identifiers through ICU's own parser and data, so "usable" means what ICU can format with.
#include "platform/foundation/Locale.h"

#include <unicode/locid.h>
#include <unicode/uloc.h>

#include <memory>

namespace foundation {
namespace {

bool isAsciiAlnum(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Every keyword has a key and a value; ICU would otherwise drop or misread it.
bool keywordsWellFormed(const icu::Locale& locale) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::StringEnumeration> keywords(locale.createKeywords(status));
  if (U_FAILURE(status)) return false;
  if (!keywords) return true;
  while (const char* key = keywords->next(nullptr, status)) {
    if (U_FAILURE(status) || !*key) return false;
    char value[ULOC_FULLNAME_CAPACITY] = {};
    int32_t length = locale.getKeywordValue(key, value, sizeof value, status);
    if (U_FAILURE(status) || length <= 0) return false;
  }
  return U_SUCCESS(status);
}

// The script ICU's likely-subtags data gives the language and region ("zh", "TW" -> "Hant").
std::string likelyScript(const std::string& language, const std::string& region) {
  icu::Locale locale(language.c_str(), region.empty() ? nullptr : region.c_str());
  UErrorCode status = U_ZERO_ERROR;
  locale.addLikelySubtags(status);
  if (U_FAILURE(status) || locale.isBogus()) return {};
  return locale.getScript();
}

}  // namespace

std::optional<std::string> canonicalLocaleIdentifier(const std::string& identifier) {
  if (identifier.empty() || identifier.size() >= ULOC_FULLNAME_CAPACITY) return std::nullopt;
  for (char c : identifier)
    if (c <= 0x20 || c >= 0x7F) return std::nullopt;
  UErrorCode status = U_ZERO_ERROR;
  char canonical[ULOC_FULLNAME_CAPACITY] = {};
  int32_t length = uloc_canonicalize(identifier.c_str(), canonical, sizeof canonical, &status);
  if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING || length <= 0)
    return std::nullopt;
  const icu::Locale locale(canonical);
  if (locale.isBogus() || !keywordsWellFormed(locale)) return std::nullopt;
  // Unknown languages have no three-letter code in ICU's data.
  if (!*locale.getLanguage() || !*locale.getISO3Language()) return std::nullopt;
  return std::string(canonical, static_cast<std::size_t>(length));
}

std::string usableLocaleIdentifier(const std::string& identifier) {
  return canonicalLocaleIdentifier(identifier).value_or("en_US");
}

std::optional<std::string> languageTagFromPosixLocale(std::string_view name) {
  std::string_view modifier;
  if (auto at = name.find('@'); at != std::string_view::npos) modifier = name.substr(at + 1);
  name = name.substr(0, name.find_first_of(".@"));
  if (name.empty() || name == "C" || name == "POSIX") return std::nullopt;
  auto separator = name.find_first_of("_-");
  std::string language(name.substr(0, separator));
  std::string region(separator == std::string_view::npos ? "" : name.substr(separator + 1));
  if (language.empty()) return std::nullopt;
  for (char c : language + region)
    if (!isAsciiAlnum(c)) return std::nullopt;

  std::string script = modifier == "latin"        ? "Latn"
                       : modifier == "cyrillic"   ? "Cyrl"
                       : modifier == "devanagari" ? "Deva"
                                                  : "";
  // The platform lists Chinese with its script, which the region decides.
  if (script.empty() && language == "zh") script = likelyScript(language, region);
  std::string tag = language;
  if (!script.empty()) tag += "-" + script;
  if (!region.empty()) tag += "-" + region;
  return tag;
}

}  // namespace foundation
