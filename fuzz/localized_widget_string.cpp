// localizedWidgetString with a hostile override name. The bundle lives in a real directory so that
// "..", "//", "./" and friends mean what they mean to the operating system; beside it lie tables
// that no override may reach. Only the exact names of the bundle's localizations select a table:
// every other name gives the system-language text, and no name ever gives another directory's.
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "FuzzCheck.h"
#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "shared/LocalizedWidgetString.h"

namespace tamsa_fuzz {
namespace {

constexpr const char* kSuiteRelative =
    "/container/Library/Preferences/group.com.tamsaledger.app.plist";

// The directory tree, written once per process and removed at exit.
class Tree {
 public:
  Tree() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tamsa-fuzz-lproj-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    root_ = pattern;
    write("bundle/en.lproj/Localizable.strings",
          "\"k_both\" = \"EN both\"; \"k_en\" = \"EN only\";");
    write("bundle/de.lproj/Localizable.strings",
          "\"k_both\" = \"DE both\"; \"k_de\" = \"DE only\";");
    write("bundle/ko.lproj/Localizable.strings", "\"k_both\" = \"KO unterminated;");
    write("bundle/ja.lproj", "a file, not a directory");
    write("bundle/Localizable.strings", "\"k_both\" = \"ESCAPED top\";");
    write("bundle/sub/fr.lproj/Localizable.strings", "\"k_both\" = \"ESCAPED sub\";");
    write("bundle/de.lproj/in.lproj/Localizable.strings", "\"k_both\" = \"ESCAPED nested\";");
    write("secret.lproj/Localizable.strings",
          "\"k_both\" = \"ESCAPED secret\"; \"k_de\" = \"ESCAPED\"; \"k_en\" = \"ESCAPED\";");
    std::filesystem::create_directories(root_ + "/container/Library/Preferences");
  }
  ~Tree() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  const std::string& root() const { return root_; }

 private:
  void write(const std::string& relative, const std::string& content) {
    std::filesystem::path path = root_ + "/" + relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << content;
  }
  std::string root_;
};

// The machine's file system, except that the suite file holds the given bytes.
class WithStore final : public os::FileSystem {
 public:
  WithStore(std::string suitePath, std::string bytes)
      : real_(os::posixFileSystem()), suitePath_(std::move(suitePath)), bytes_(std::move(bytes)) {}
  os::FileKind kind(const std::string& path) const override {
    return path == suitePath_ ? os::FileKind::file : real_->kind(path);
  }
  std::optional<std::string> readFile(const std::string& path,
                                      std::size_t maxBytes) const override {
    if (path != suitePath_) return real_->readFile(path, maxBytes);
    if (bytes_.size() > maxBytes) return std::nullopt;
    return bytes_;
  }
  std::vector<std::string> listDirectory(const std::string& path) const override {
    return real_->listDirectory(path);
  }

 private:
  std::shared_ptr<const os::FileSystem> real_;
  std::string suitePath_;
  std::string bytes_;
};

const Tree& tree() {
  static const Tree t;
  return t;
}

}  // namespace

void fuzzLocalizedWidgetString(std::string_view data) {
  const std::string name = lossyUtf8(data);
  foundation::PlistDictionary store;
  store["widget_language"] = foundation::PlistValue{name};
  const std::string& root = tree().root();
  device::Device d;
  d.fileSystem = std::make_shared<WithStore>(root + kSuiteRelative,
                                             binaryPlist(foundation::PlistValue{store}));
  d.clock = std::make_shared<foundation::FixedClock>(foundation::Date{1767258000});
  d.appGroupContainer = root + "/container";
  d.mainBundle = *foundation::Bundle::atPath(d.fileSystem, root + "/bundle", {"en"});

  const bool german = name == "de";
  const std::pair<const char*, const char*> expected[] = {
      {"k_both", german ? "DE both" : "EN both"},
      {"k_de", german ? "DE only" : "k_de"},
      {"k_en", "EN only"},
      {"k_none", "k_none"},
  };
  for (const auto& [key, want] : expected) {
    std::string text = tamsa::localizedWidgetString(d, key);
    FUZZ_CHECK(text == want) << "override " << printable(name) << ", key " << key << ": "
                             << printable(text);
  }
}

}  // namespace tamsa_fuzz
