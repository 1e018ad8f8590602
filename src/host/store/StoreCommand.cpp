// `store show|set|delete|import`. Every argument is read and checked before the suite is touched;
// a suite that does not parse is shown as an error and overwritten only with --force; keys the
// command was not asked about are kept as they were, value and type. A writer reads, changes and
// replaces the suite under the writers' lock, so that writers at once lose no edit.
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>

#include "host/core/InstallPaths.h"
#include "host/core/OutputFiles.h"
#include "host/core/PlistJson.h"
#include "host/store/StoreCommands.h"
#include "host/store/SuiteFile.h"
#include "platform/foundation/Unicode.h"

namespace host {
namespace {

namespace fs = std::filesystem;
using foundation::PlistDictionary;
using foundation::PlistValue;

// The keys the host app writes as reals; every other key it writes as text.
constexpr std::string_view kAmountKeys[] = {"widget_income", "widget_expense", "widget_balance"};
// As much as `show` may print for a suite the widget reads, so that import takes back all it shows.
constexpr std::size_t kMaxImportBytes = kMaxShownBytes;

std::string actionWord(StoreAction action) {
  return "store " + std::string(kStoreActionNames.nameOf(action));
}

// One change: a value to store, or nothing to delete the key.
using Edits = std::map<std::string, std::optional<PlistValue>>;

Result<Done> checkKey(const std::string& key, const char* action) {
  if (key.empty()) return Failure::usage(std::string(action) + ": a key cannot be empty");
  if (!foundation::unicode::isValidUtf8(key))
    return Failure::usage(std::string(action) + ": the key '" + key + "' is not UTF-8");
  return Done{};
}

// A finite number in full: an optional sign, digits, a point, an exponent.
std::optional<double> amount(const std::string& word) {
  std::string_view digits = word;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  double v = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
  if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() ||
      !std::isfinite(v))
    return std::nullopt;
  return v;
}

Result<PlistValue> typedValue(const std::string& key, const std::string& word) {
  for (auto amountKey : kAmountKeys) {
    if (key != amountKey) continue;
    if (auto v = amount(word)) return PlistValue{*v};
    return Failure::usage("store set: " + key + " holds an amount, stored as a real: '" + word +
                          "' is not a finite number (write " + key + ":='\"text\"' to store text)");
  }
  if (!foundation::unicode::isValidUtf8(word))
    return Failure::usage("store set: the value of " + key + " is not UTF-8");
  return PlistValue{word};
}

Result<PlistValue> jsonValue(const std::string& key, const std::string& text) {
  auto json = parseJson(text, "store set: " + key);
  if (!json) return json.failure();
  auto value = plistFromJson(*json, "store set: " + key);
  if (!value) return value;
  if (json->is_array() ||
      (json->is_object() && (json->size() != 1 || json->contains("dictionary"))))
    return Failure::usage("store set: " + key +
                          ":= takes an integer, real, boolean, string, {\"date\": ISO 8601} or "
                          "{\"data\": base64} (use import for arrays and dictionaries)");
  return value;
}

Result<Edits> readEdits(const StoreOptions& o) {
  Edits edits;
  for (const std::string& item : o.items) {
    if (o.action == StoreAction::remove) {
      if (auto r = checkKey(item, "store delete"); !r) return r.failure();
      edits[item] = std::nullopt;
      continue;
    }
    auto eq = item.find('=');
    if (eq == std::string::npos)
      return Failure::usage("store set: '" + item + "' is not KEY=VALUE or KEY:=JSON");
    bool json = eq > 0 && item[eq - 1] == ':';
    std::string key = item.substr(0, json ? eq - 1 : eq), word = item.substr(eq + 1);
    if (auto r = checkKey(key, "store set"); !r) return r.failure();
    auto value = json ? jsonValue(key, word) : typedValue(key, word);
    if (!value) return value.failure();
    edits[key] = std::move(*value);
  }
  return edits;
}

// The import's text: standard input for "-", else the named file.
Result<std::string> readInput(const os::FileSystem& files, const std::string& name) {
  if (name != "-") {
    if (files.kind(name) == os::FileKind::missing)
      return Failure::runtime("cannot read " + name + ": No such file or directory");
    auto text = files.readFile(name, kMaxImportBytes);
    if (!text)
      return Failure::runtime("cannot read " + name +
                              ": not a regular file, unreadable, or larger than " +
                              std::to_string(kMaxImportBytes) + " bytes");
    return std::move(*text);
  }
  std::string text;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0 && text.size() <= kMaxImportBytes)
    text.append(buffer, n);
  if (std::ferror(stdin)) return Failure::runtime("cannot read standard input");
  if (text.size() > kMaxImportBytes)
    return Failure::runtime("standard input is larger than " + std::to_string(kMaxImportBytes) +
                            " bytes");
  return text;
}

// The whole suite an import file stands for; its mistakes are usage errors, as set's are.
Result<PlistDictionary> readImport(const os::FileSystem& files, const std::string& name) {
  auto text = readInput(files, name);
  if (!text) return text.failure();
  auto json = parseJson(*text, name);
  if (!json) return json.failure();
  if (!json->is_object()) return Failure::usage(name + ": the suite must be a JSON object");
  PlistDictionary suite;
  for (const auto& [key, element] : json->items()) {
    if (auto r = checkKey(key, "store import"); !r) return r.failure();
    auto value = plistFromJson(element, name + ": " + key);
    if (!value) return value.failure();
    suite.emplace(key, std::move(*value));
  }
  return suite;
}

Outcome show(const SuiteFile& suite, const SuiteReading& reading, const WarningSink& warn) {
  using Found = SuiteReading::Found;
  if (reading.found != Found::suite) {
    std::string absent = reading.found == Found::noContainer
                             ? "no container at " + suite.container.string()
                         : reading.found == Found::containerNotFolder
                             ? "the container " + suite.container.string() + " is not a folder"
                             : "no suite file at " + suite.path.string();
    warn({"store show: " + absent + " (showing an empty suite)"});
    return writeStandardOutput("{}\n");
  }
  if (reading.throughLink)
    warn({"store show: the suite is reached through the symbolic link " +
          reading.throughLink->string() +
          " (the widget reads through it; set, delete and import never write through one)"});
  return writeStandardOutput(suiteText(*reading.values));
}

}  // namespace

Outcome runStoreCommand(const HostSession& session, const StoreOptions& o) {
  const std::string action = actionWord(o.action);
  const fs::path container = session.device.appGroupContainer;
  const SuiteFile suite = SuiteFile::in(container);
  if (o.action != StoreAction::show &&
      isSameSuite(suite, SuiteFile::in(InstallPaths::ofThisProgram().sampleContainer)))
    return Failure::usage(action +
                          ": name the container to write with --container DIR (or "
                          "$TAMSA_APP_GROUP_CONTAINER); the shipped sample is never written");

  Edits edits;
  std::optional<PlistDictionary> imported;
  if (o.action == StoreAction::set || o.action == StoreAction::remove) {
    auto read = readEdits(o);
    if (!read) return read.failure();
    edits = std::move(*read);
  } else if (o.action == StoreAction::import) {
    auto read = readImport(*session.files, o.items.front());
    if (!read) return read.failure();
    imported = std::move(*read);
  }

  if (o.action == StoreAction::show) {
    auto reading = readSuite(suite, Links::followed);
    if (!reading) return reading.failure();
    if (!reading->values) return Failure::runtime(suite.path.string() + " " + reading->problem);
    return show(suite, *reading, session.warn);
  }
  if (o.action == StoreAction::remove) {
    auto reading = readSuite(suite, Links::refused);
    if (!reading) return reading.failure();
    if (reading->found != SuiteReading::Found::suite)
      return Done{};  // nothing to delete: no folder or file is made for it
  }

  auto lock = lockSuite(suite, session.warn);
  if (!lock) return lock.failure();
  auto reading = readSuite(suite, Links::refused);
  if (!reading) return reading.failure();
  if (!reading->values && !o.force)
    return Failure::runtime(suite.path.string() + " " + reading->problem +
                            "; it is left as it is (--force replaces it)");
  if (!reading->lossOnRewrite.empty() && !o.force)
    return Failure::runtime(suite.path.string() + " " + reading->lossOnRewrite +
                            "; it is left as it is (--force rewrites it as shown)");
  if (o.action == StoreAction::remove && reading->found != SuiteReading::Found::suite)
    return Done{};

  PlistDictionary values =
      imported ? std::move(*imported) : reading->values.value_or(PlistDictionary{});
  for (auto& [key, value] : edits) {
    if (value)
      values.insert_or_assign(key, std::move(*value));
    else
      values.erase(key);
  }
  return writeSuite(*session.files, suite, values);
}

}  // namespace host
