#include "host/pictures/TextSources.h"

#include <algorithm>

#include "platform/foundation/PseudoLanguage.h"
#include "platform/foundation/StringFormat.h"
#include "platform/foundation/StringsTable.h"
#include "shared/LocalizedWidgetString.h"

namespace host {
namespace {

constexpr const char* kTable = "Localizable.strings";
constexpr const char* kDevelopmentLanguage = "en";

bool isInteger(std::string_view s) {
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) s.remove_prefix(1);
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Whether `text` is `value` used as a format with one number in the argument's place.
bool formatShows(const std::string& value, const std::string& text) {
  for (std::string_view argument : {"%@", "%1$@"}) {
    auto at = value.find(argument);
    if (at == std::string::npos) continue;
    std::string before = foundation::formatWithStringArgument(value.substr(0, at), "");
    std::string after =
        foundation::formatWithStringArgument(value.substr(at + argument.size()), "");
    if (text.size() > before.size() + after.size() && text.starts_with(before) &&
        text.ends_with(after) &&
        isInteger(std::string_view(text).substr(before.size(),
                                                text.size() - before.size() - after.size())))
      return true;
  }
  return false;
}

}  // namespace

TextSources TextSources::of(const device::Device& device) {
  TextSources out;
  out.systemLanguage_ = device.mainBundle.preferredLocalization();
  std::vector<std::string> languages;
  for (const auto& l :
       {tamsa::widgetTextLanguage(device), device.mainBundle.preferredLocalization()})
    if (l && std::find(languages.begin(), languages.end(), *l) == languages.end())
      languages.push_back(*l);
  const std::string& resources = device.mainBundle.bundlePath();
  for (const std::string& language : languages) {
    std::string directory = language;
    auto pseudo = foundation::pseudoLanguageNamed(language);
    if (pseudo &&
        device.fileSystem->kind(resources + "/" + language + ".lproj") != os::FileKind::directory)
      directory = kDevelopmentLanguage;
    else
      pseudo.reset();
    std::string table = directory + ".lproj/" + kTable;
    auto bytes = device.fileSystem->readFile(resources + "/" + table,
                                             foundation::StringsTable::maxFileBytes);
    if (!bytes) continue;
    foundation::StringsTableListing listing = foundation::StringsTable::list(*bytes);
    if (!listing.table) continue;
    std::map<std::string, int> lines;
    for (const auto& d : listing.definitions) lines[d.key] = d.line;
    for (const auto& [key, value] : listing.table->entries())
      out.entries_.push_back({{table, key, lines[key]},
                              pseudo ? foundation::pseudoLocalized(value, *pseudo) : value,
                              language});
  }
  return out;
}

const TextSources::Entry* TextSources::entryShowing(
    const std::string& text, const std::optional<std::string>& language) const {
  if (language)
    for (const Entry& e : entries_)
      if (e.language == *language && (e.value == text || formatShows(e.value, text))) return &e;
  for (const Entry& e : entries_)
    if (e.value == text) return &e;
  for (const Entry& e : entries_)
    if (formatShows(e.value, text)) return &e;
  return nullptr;
}

std::optional<TextSource> TextSources::find(const std::string& text,
                                            const std::optional<std::string>& language) const {
  const Entry* e = entryShowing(text, language);
  return e ? std::optional(e->source) : std::nullopt;
}

std::optional<std::string> TextSources::languageOf(const std::string& shown, bool fromKey) const {
  if (fromKey) return systemLanguage_;
  const Entry* e = entryShowing(shown, std::nullopt);
  return e ? std::optional(e->language) : std::nullopt;
}

swiftui::TextOrigins TextSources::origins(std::optional<std::string> drawnLanguage) const {
  return [this, drawnLanguage = std::move(drawnLanguage)](const std::string& shown, bool fromKey) {
    swiftui::TextOrigin origin{languageOf(shown, fromKey), std::nullopt};
    // The entry of the table in the language the text is drawn in comes first.
    origin.source = find(shown, origin.language ? origin.language : drawnLanguage);
    return origin;
  };
}

}  // namespace host
