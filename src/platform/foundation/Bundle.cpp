// Bundles over an os::FileSystem. Names that come from data (resource names, table names) are
// only ever used as one plain path component, so nothing can reach outside the bundle.
#include "platform/foundation/Bundle.h"

#include <unicode/locid.h>

#include <algorithm>

#include "platform/foundation/Locale.h"
#include "platform/foundation/StringsTable.h"

namespace foundation {
namespace {

constexpr std::string_view kLprojSuffix = ".lproj";

// Lower case with "_" as "-", so "pt_BR" and "PT-br" compare equal.
std::string normalizedTag(std::string_view tag) {
  std::string out(tag);
  for (char& c : out) {
    if (c == '_') c = '-';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::optional<std::string> findTag(const std::vector<std::string>& available,
                                   const std::string& wanted) {
  for (const auto& name : available) {
    if (normalizedTag(name) == wanted) return name;
  }
  return std::nullopt;
}

// "zh-TW" -> "zh-hant-tw": the tag with the script ICU's likely-subtags data gives it, normalized;
// nothing when the tag already names a script or ICU cannot read it.
std::optional<std::string> withLikelyScript(const std::string& tag) {
  UErrorCode status = U_ZERO_ERROR;
  icu::Locale locale = icu::Locale::forLanguageTag(tag, status);
  if (U_FAILURE(status) || locale.isBogus() || !*locale.getLanguage() || *locale.getScript())
    return std::nullopt;
  locale.addLikelySubtags(status);
  if (U_FAILURE(status) || !*locale.getScript()) return std::nullopt;
  std::string out = std::string(locale.getLanguage()) + "-" + locale.getScript();
  if (*locale.getCountry()) out += std::string("-") + locale.getCountry();
  return normalizedTag(out);
}

// The first localization the tag or one of its prefixes names ("zh-hans-cn", "zh-hans", "zh").
std::optional<std::string> findWithPrefixes(const std::vector<std::string>& available,
                                            std::string tag) {
  while (!tag.empty()) {
    if (auto found = findTag(available, tag)) return found;
    auto dash = tag.rfind('-');
    if (dash == std::string::npos) break;
    tag.resize(dash);
  }
  return std::nullopt;
}

}  // namespace

std::optional<Bundle> Bundle::atPath(std::shared_ptr<const os::FileSystem> fileSystem,
                                     std::string path, std::vector<std::string> preferredLanguages,
                                     std::string developmentLanguage) {
  if (!fileSystem) return std::nullopt;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  Bundle bundle;
  bundle.fs_ = std::move(fileSystem);
  bundle.developmentLanguage_ = developmentLanguage;
  if (bundle.fs_->kind(path) != os::FileKind::directory) {
    // A pseudo-language's directory, as pathForResource gives it: its texts are the development
    // language's of the bundle around it.
    auto slash = path.rfind('/');
    if (slash == std::string::npos || !path.ends_with(kLprojSuffix)) return std::nullopt;
    Bundle outer;
    outer.fs_ = bundle.fs_;
    outer.path_ = path.substr(0, slash);
    outer.developmentLanguage_ = developmentLanguage;
    std::string name = path.substr(slash + 1, path.size() - slash - 1 - kLprojSuffix.size());
    bundle.pseudo_ = outer.offeredPseudo(name);
    if (!bundle.pseudo_) return std::nullopt;
    bundle.path_ = outer.path_ + "/" + developmentLanguage + std::string(kLprojSuffix);
    return bundle;
  }
  bundle.path_ = std::move(path);
  std::vector<std::string> available = bundle.localizations();
  for (const char* name : pseudoLanguageNames)
    if (bundle.offeredPseudo(name)) available.push_back(name);
  bundle.localization_ = chooseLocalization(preferredLanguages, available, developmentLanguage);
  return bundle;
}

std::vector<std::string> Bundle::localizations() const {
  std::vector<std::string> names;
  for (const auto& entry : fs_->listDirectory(path_)) {
    if (entry.size() <= kLprojSuffix.size() || !entry.ends_with(kLprojSuffix)) continue;
    if (fs_->kind(path_ + "/" + entry) != os::FileKind::directory) continue;
    names.push_back(entry.substr(0, entry.size() - kLprojSuffix.size()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool Bundle::isDirectory(const std::string& name) const {
  return fs_ && fs_->kind(path_ + "/" + name) == os::FileKind::directory;
}

std::optional<PseudoLanguage> Bundle::offeredPseudo(const std::string& localization) const {
  auto pseudo = pseudoLanguageNamed(localization);
  if (!pseudo || developmentLanguage_.empty() ||
      !isDirectory(developmentLanguage_ + std::string(kLprojSuffix)) ||
      isDirectory(localization + std::string(kLprojSuffix)))
    return std::nullopt;
  return pseudo;
}

std::optional<std::string> Bundle::pathForResource(const std::string& name,
                                                   const std::string& type) const {
  if (!os::isSingleFileName(name)) return std::nullopt;
  std::string file = name;
  if (!type.empty()) {
    if (type.find('/') != std::string::npos || type.find('\0') != std::string::npos) {
      return std::nullopt;
    }
    file += "." + type;
  }
  if (!os::isSingleFileName(file)) return std::nullopt;
  std::string full = path_ + "/" + file;
  if (type == "lproj" && offeredPseudo(name)) return full;
  auto kind = fs_->kind(full);
  if (kind != os::FileKind::file && kind != os::FileKind::directory) return std::nullopt;
  return full;
}

std::string Bundle::localizedStringForKey(const std::string& key, const std::string& value,
                                          const std::optional<std::string>& table) const {
  const std::string& fallback = value.empty() ? key : value;
  std::string tableName = table && !table->empty() ? *table : "Localizable";
  if (!os::isSingleFileName(tableName)) return fallback;
  std::string file = tableName + ".strings";

  // The chosen localization's table; a bundle without one (or a localization lacking the table)
  // reads the table at its top.
  std::optional<StringsTable> strings;
  std::optional<PseudoLanguage> pseudo = pseudo_;
  if (localization_) {
    std::string directory = *localization_;
    if (auto offered = offeredPseudo(directory)) {
      pseudo = offered;
      directory = developmentLanguage_;
    }
    std::string localized = path_ + "/" + directory + std::string(kLprojSuffix) + "/" + file;
    if (fs_->kind(localized) == os::FileKind::file)
      strings = StringsTable::load(*fs_, localized);
    else
      strings = StringsTable::load(*fs_, path_ + "/" + file);
  } else {
    strings = StringsTable::load(*fs_, path_ + "/" + file);
  }
  if (!strings) return fallback;
  auto found = strings->find(key);
  if (!found) return fallback;
  return pseudo ? pseudoLocalized(*found, *pseudo) : *found;
}

std::string NSLocalizedString(const Bundle& mainBundle, const std::string& key) {
  return mainBundle.localizedStringForKey(key, "", std::nullopt);
}

std::optional<std::string> chooseLocalization(const std::vector<std::string>& preferred,
                                              const std::vector<std::string>& available,
                                              const std::string& developmentLanguage) {
  for (const auto& language : preferred) {
    std::string tag = normalizedTag(language);
    if (auto found = findWithPrefixes(available, tag)) return found;
    // A bundle may ship only script variants ("zh-Hans", "zh-Hant") for a language asked for by
    // region ("zh-TW") or alone ("zh").
    if (auto scripted = withLikelyScript(tag)) {
      if (auto found = findWithPrefixes(available, *scripted)) return found;
    }
  }
  if (developmentLanguage.empty()) return std::nullopt;
  return findTag(available, normalizedTag(developmentLanguage));
}

std::vector<std::string> preferredLanguagesFromEnvironment(
    const std::function<const char*(const char*)>& getenv) {
  std::vector<std::string> languages;
  auto add = [&](std::string_view name) {
    auto tag = languageTagFromPosixLocale(name);
    if (tag && std::find(languages.begin(), languages.end(), *tag) == languages.end()) {
      languages.push_back(*tag);
    }
  };
  if (const char* list = getenv("LANGUAGE"); list && *list) {
    std::string_view rest(list);
    while (!rest.empty()) {
      auto colon = rest.find(':');
      add(rest.substr(0, colon));
      if (colon == std::string_view::npos) break;
      rest.remove_prefix(colon + 1);
    }
    if (!languages.empty()) return languages;
  }
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    if (const char* value = getenv(variable); value && *value) {
      add(value);
      break;
    }
  }
  return languages;
}

}  // namespace foundation
