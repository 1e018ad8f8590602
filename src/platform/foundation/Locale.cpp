// Locale identifiers through ICU's own parser and data, so "usable" means what ICU can format with.
#include "platform/foundation/Locale.h"

#include <unicode/locid.h>
#include <unicode/uloc.h>

#include <array>
#include <memory>
#include <utility>

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

bool isAsciiAlpha(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool allOf(std::string_view s, bool (*test)(char)) {
  for (char c : s)
    if (!test(c)) return false;
  return true;
}

std::string cased(std::string_view s, bool upperFirst, bool upperRest) {
  std::string out(s);
  for (std::size_t i = 0; i < out.size(); ++i) {
    char& c = out[i];
    bool upper = i == 0 ? upperFirst : upperRest;
    if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (!upper && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// Longer than any tag the platform lists (with its keywords), and well inside what ICU takes.
constexpr std::size_t kMostTagBytes = 96;

// The tag's language, script and region as an ICU locale with the likely subtags added. Only
// parts that parseLanguageTag accepted reach ICU.
std::optional<icu::Locale> maximized(const std::string& language, const std::string& script,
                                     const std::string& region) {
  std::string id = language;
  if (!script.empty()) id += "_" + script;
  if (!region.empty()) id += "_" + region;
  icu::Locale locale(id.c_str());
  UErrorCode status = U_ZERO_ERROR;
  if (locale.isBogus()) return std::nullopt;
  locale.addLikelySubtags(status);
  if (U_FAILURE(status) || locale.isBogus() || std::string(locale.getLanguage()) != language)
    return std::nullopt;
  return locale;
}

}  // namespace

std::optional<LanguageTag> parseLanguageTag(std::string_view text) {
  if (text.empty() || text.size() > kMostTagBytes) return std::nullopt;
  std::vector<std::string_view> subtags;
  for (std::size_t start = 0;;) {
    std::size_t end = text.find_first_of("-_", start);
    subtags.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  for (std::string_view s : subtags)
    if (s.empty() || s.size() > 8 || !allOf(s, isAsciiAlnum)) return std::nullopt;
  if (subtags[0].size() < 2 || !allOf(subtags[0], isAsciiAlpha)) return std::nullopt;

  LanguageTag tag;
  tag.language = cased(subtags[0], false, false);
  // Old codes the platform still accepts for the languages that replaced them.
  static constexpr std::array<std::pair<const char*, const char*>, 3> kOldCodes{
      {{"iw", "he"}, {"in", "id"}, {"ji", "yi"}}};
  for (const auto& [old, current] : kOldCodes)
    if (tag.language == old) tag.language = current;
  std::size_t i = 1;
  if (i < subtags.size() && subtags[i].size() == 4 && allOf(subtags[i], isAsciiAlpha))
    tag.script = cased(subtags[i++], true, false);
  if (i < subtags.size() &&
      ((subtags[i].size() == 2 && allOf(subtags[i], isAsciiAlpha)) ||
       (subtags[i].size() == 3 && allOf(subtags[i], [](char c) { return c >= '0' && c <= '9'; }))))
    tag.region = cased(subtags[i++], true, true);
  for (; i < subtags.size(); ++i) tag.rest.push_back(cased(subtags[i], false, false));
  return tag;
}

std::string writtenScript(const LanguageTag& tag) {
  if (!tag.script.empty()) return tag.script;
  auto locale = maximized(tag.language, "", tag.region);
  return locale ? locale->getScript() : "";
}

std::string likelyRegion(const std::string& language, const std::string& script) {
  auto locale = maximized(language, script, "");
  return locale && script == locale->getScript() ? locale->getCountry() : "";
}

bool isRightToLeftLanguage(std::string_view text) {
  auto tag = parseLanguageTag(text);
  if (!tag) return false;
  std::string script = writtenScript(*tag);
  if (script.empty()) return false;
  auto locale = maximized(tag->language, script, tag->region);
  return locale && locale->isRightToLeft();
}

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
