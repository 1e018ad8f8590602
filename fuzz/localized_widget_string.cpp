// localizedWidgetString with a hostile override name. The bundle lives in a real directory so that
// "..", "//" and "./" mean what they mean to the operating system; beside it lie tables no
// override may reach. Only the exact name "de" selects the German table: every other name gives
// the system-language (English) text.
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "FuzzCheck.h"
#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "shared/LocalizedWidgetString.h"

namespace tamsa_fuzz {
namespace {

// The directory tree, written once per process and removed at exit.
struct Tree {
  Tree() {
    const std::pair<const char*, const char*> files[] = {
        {"bundle/en.lproj", "\"k\" = \"EN\";"},         {"bundle/de.lproj", "\"k\" = \"DE\";"},
        {"bundle/ko.lproj", "\"k\" = \"KO broken;"},    {"bundle/sub/fr.lproj", "\"k\" = \"X\";"},
        {"bundle/de.lproj/in.lproj", "\"k\" = \"X\";"}, {"secret.lproj", "\"k\" = \"X\";"}};
    for (const auto& [dir, table] : files) {
      std::filesystem::create_directories(root / dir);
      std::ofstream(root / dir / "Localizable.strings") << table;
    }
    std::ofstream(root / "bundle/Localizable.strings") << "\"k\" = \"X\";";
    std::filesystem::create_directories(root / "container/Library/Preferences");
  }
  ~Tree() { std::filesystem::remove_all(root); }
  const std::filesystem::path root =
      std::filesystem::temp_directory_path() / ("tamsa-fuzz-lproj-" + std::to_string(::getpid()));
};

}  // namespace

void fuzzLocalizedWidgetString(std::string_view data) {
  static const Tree tree;
  const std::string name = lossyUtf8(data);
  std::ofstream(tree.root / "container/Library/Preferences/group.com.tamsaledger.app.plist",
                std::ios::binary | std::ios::trunc)
      << textStore({{"widget_language", name}});
  device::Device d;
  d.fileSystem = os::posixFileSystem();
  d.appGroupContainer = (tree.root / "container").string();
  d.mainBundle = *foundation::Bundle::atPath(d.fileSystem, (tree.root / "bundle").string(), {"en"});
  FUZZ_CHECK(tamsa::localizedWidgetString(d, "k") == (name == "de" ? "DE" : "EN"));
}

}  // namespace tamsa_fuzz
