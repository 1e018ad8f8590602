// NSBundle as the extension uses it: a directory of resources with one "<language>.lproj"
// directory per localization, each holding string tables ("Localizable.strings" by default) in the
// old text format, or as binary or XML property lists. Tables are read afresh on every lookup.
// A bundle with the development language's directory also offers the pseudo-languages
// (PseudoLanguage.h) where it has no directory of their name: the preferred languages can choose
// them by name, their texts made from the development language's, but they are no resource:
// localizations() does not list them and pathForResource does not find them.
// A Bundle is an immutable value; lookups are thread-safe.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/PseudoLanguage.h"
#include "platform/os/FileSystem.h"

namespace foundation {

class Bundle {
 public:
  // An empty bundle: no resources, every lookup gives its value or key.
  Bundle() = default;

  // initWithPath: nothing when path is not a directory. The preferred languages (most preferred
  // first) choose the localization the bundle's lookups use; see chooseLocalization.
  static std::optional<Bundle> atPath(std::shared_ptr<const os::FileSystem> fileSystem,
                                      std::string path,
                                      std::vector<std::string> preferredLanguages = {},
                                      std::string developmentLanguage = "en");

  const std::string& bundlePath() const { return path_; }
  // Names of the bundle's localizations: its "<name>.lproj" directories, sorted.
  std::vector<std::string> localizations() const;
  // The localization chosen for the preferred languages; nothing when the bundle has none.
  const std::optional<std::string>& preferredLocalization() const { return localization_; }

  // pathForResource:ofType: the path of "<name>.<type>" at the bundle's top when it exists (file
  // or directory). Only a plain name is looked up: one holding "/" or NUL, or "." or "..", gives
  // nothing.
  std::optional<std::string> pathForResource(const std::string& name,
                                             const std::string& type) const;

  // localizedStringForKey:value:table: the key's text in the table (default "Localizable") of the
  // chosen localization, else of the bundle's top directory (a bundle made from an lproj
  // directory). A key the table lacks, or a table that is missing or malformed, gives value, or
  // the key itself when value is empty.
  std::string localizedStringForKey(const std::string& key, const std::string& value,
                                    const std::optional<std::string>& table = std::nullopt) const;

 private:
  std::shared_ptr<const os::FileSystem> fs_;
  std::string path_;
  std::optional<std::string> localization_;
  std::string developmentLanguage_ = "en";

  bool isDirectory(const std::string& name) const;
  // The pseudo-language `localization` names when the bundle offers it (no directory of its own).
  std::optional<PseudoLanguage> offeredPseudo(const std::string& localization) const;
};

// NSLocalizedString(key, tableName: nil, bundle: main, value: "", comment: ""): the key's text in
// the system's choice of language, or the key.
std::string NSLocalizedString(const Bundle& mainBundle, const std::string& key);

// Picks the localization for the preferred languages, as the phone does. For each in order: the
// localization of that name, then of one of its shorter forms written in the same script
// ("zh-Hans-CN" -> "zh-Hans", "pt_BR" -> "pt", "zh-TW" -> "zh-Hant", "zh" -> "zh-Hans"; "zh-Hant"
// never takes "zh" or "zh-Hans"), then another regional variant of the same language and script
// ("pt-PT" -> "pt-BR", the language's own region first). Case, "_"/"-" and old codes ("iw" is
// "he") do not matter. A pseudo-language is taken only when asked for by name. Else the
// development language when the bundle has it, else nothing.
std::optional<std::string> chooseLocalization(const std::vector<std::string>& preferred,
                                              const std::vector<std::string>& available,
                                              const std::string& developmentLanguage);

// The user's preferred languages on Linux: LANGUAGE (a colon list), else the first of LC_ALL,
// LC_MESSAGES, LANG that is set and not empty, each through languageTagFromPosixLocale
// ("de_DE.UTF-8@euro" -> "de-DE", "zh_CN.UTF-8" -> "zh-Hans-CN"; "C" and "POSIX" give none). getenv
// is the environment to read (a function so tests need no globals).
std::vector<std::string> preferredLanguagesFromEnvironment(
    const std::function<const char*(const char*)>& getenv);

}  // namespace foundation
