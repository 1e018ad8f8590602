// Bundles over an os::FileSystem. Names that come from data (resource names, table names) are
// only ever used as one plain path component, so nothing can reach outside the bundle.
#include "platform/foundation/Bundle.h"

#include <algorithm>

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

// "de_DE.UTF-8@euro" -> "de-DE"; nothing for "C", "POSIX" and empty names.
std::optional<std::string> languageFromLocaleName(std::string_view name) {
  name = name.substr(0, name.find_first_of(".@"));
  if (name.empty() || name == "C" || name == "POSIX") return std::nullopt;
  std::string tag(name);
  std::replace(tag.begin(), tag.end(), '_', '-');
  return tag;
}

}  // namespace

std::optional<Bundle> Bundle::atPath(std::shared_ptr<const os::FileSystem> fileSystem,
                                     std::string path, std::vector<std::string> preferredLanguages,
                                     std::string developmentLanguage) {
  if (!fileSystem || fileSystem->kind(path) != os::FileKind::directory) return std::nullopt;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  Bundle bundle;
  bundle.fs_ = std::move(fileSystem);
  bundle.path_ = std::move(path);
  bundle.localization_ =
      chooseLocalization(preferredLanguages, bundle.localizations(), developmentLanguage);
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
  if (localization_) {
    std::string localized = path_ + "/" + *localization_ + std::string(kLprojSuffix) + "/" + file;
    if (fs_->kind(localized) == os::FileKind::file)
      strings = StringsTable::load(*fs_, localized);
    else
      strings = StringsTable::load(*fs_, path_ + "/" + file);
  } else {
    strings = StringsTable::load(*fs_, path_ + "/" + file);
  }
  if (!strings) return fallback;
  auto found = strings->find(key);
  return found ? *found : fallback;
}

std::string NSLocalizedString(const Bundle& mainBundle, const std::string& key) {
  return mainBundle.localizedStringForKey(key, "", std::nullopt);
}

std::optional<std::string> chooseLocalization(const std::vector<std::string>& preferred,
                                              const std::vector<std::string>& available,
                                              const std::string& developmentLanguage) {
  for (const auto& language : preferred) {
    std::string tag = normalizedTag(language);
    while (!tag.empty()) {
      if (auto found = findTag(available, tag)) return found;
      auto dash = tag.rfind('-');
      if (dash == std::string::npos) break;
      tag.resize(dash);
    }
  }
  if (developmentLanguage.empty()) return std::nullopt;
  return findTag(available, normalizedTag(developmentLanguage));
}

std::vector<std::string> preferredLanguagesFromEnvironment(
    const std::function<const char*(const char*)>& getenv) {
  std::vector<std::string> languages;
  auto add = [&](std::string_view name) {
    auto tag = languageFromLocaleName(name);
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
