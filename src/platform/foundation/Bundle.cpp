// Bundles over an os::FileSystem. Names that come from data (resource names, table names) are
// only ever used as one plain path component, so nothing can reach outside the bundle.
#include "platform/foundation/Bundle.h"

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

// A localization as the chooser compares it.
struct Candidate {
  const std::string* name;
  std::optional<LanguageTag> tag;  // nothing: not a language tag, only ever named exactly
  bool pseudo;                     // a pseudo-language, chosen only when asked for by name
  std::string script;              // the script its texts are written in, once known
};

// The preferred language `wanted` (its script `script`) and its shorter forms, most specific
// first: without variants, without region, without script. A form without a script stands for
// the script its language implies, so one that implies another script than `script` is left out
// ("zh" is Simplified Chinese, never a form of "zh-Hant").
std::vector<LanguageTag> shorterForms(const LanguageTag& wanted, const std::string& script) {
  std::vector<LanguageTag> forms;
  auto add = [&](LanguageTag form) {
    if (form.script.empty() && !script.empty() && writtenScript(form) != script) return;
    if (std::find(forms.begin(), forms.end(), form) == forms.end()) forms.push_back(form);
  };
  LanguageTag scripted{wanted.language, script.empty() ? wanted.script : script, wanted.region, {}};
  add(wanted);
  add(scripted);
  add({scripted.language, scripted.script, "", {}});
  if (wanted.script.empty()) add({wanted.language, "", wanted.region, {}});
  add({wanted.language, "", "", {}});
  return forms;
}

// The localization that is `wanted` or one of its shorter forms, else another regional variant
// of the same language and script (the language's own region first, then by name).
const Candidate* match(const LanguageTag& wanted, std::vector<Candidate>& candidates) {
  std::string script = writtenScript(wanted);
  for (const LanguageTag& form : shorterForms(wanted, script))
    for (const Candidate& c : candidates)
      if (!c.pseudo && c.tag == form) return &c;
  if (script.empty()) return nullptr;
  const Candidate* found = nullptr;
  std::string ownRegion = likelyRegion(wanted.language, script);
  for (Candidate& c : candidates) {
    if (c.pseudo || !c.tag || c.tag->language != wanted.language) continue;
    if (c.script.empty()) c.script = writtenScript(*c.tag);
    if (c.script != script) continue;
    if (!found || (c.tag->region == ownRegion && found->tag->region != ownRegion)) found = &c;
  }
  return found;
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
  if (bundle.fs_->kind(path) != os::FileKind::directory) return std::nullopt;
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
  std::optional<PseudoLanguage> pseudo;
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
  std::vector<Candidate> candidates;
  for (const auto& name : available)
    candidates.push_back(
        {&name, parseLanguageTag(name), pseudoLanguageNamed(name).has_value(), ""});
  for (const auto& language : preferred) {
    // Asked for by name: a pseudo-language, or a localization that is no language tag.
    for (const Candidate& c : candidates)
      if (normalizedTag(*c.name) == normalizedTag(language)) return *c.name;
    auto wanted = parseLanguageTag(language);
    if (!wanted || pseudoLanguageNamed(language)) continue;
    if (const Candidate* c = match(*wanted, candidates)) return *c->name;
  }
  if (developmentLanguage.empty()) return std::nullopt;
  for (const Candidate& c : candidates)
    if (normalizedTag(*c.name) == normalizedTag(developmentLanguage)) return *c.name;
  return std::nullopt;
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
