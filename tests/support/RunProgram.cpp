#include "support/RunProgram.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace testing_support {
namespace {

// One shell word holding the text as it is.
std::string quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace

std::string readFile(const std::string& path) {
  std::stringstream s;
  s << std::ifstream(path, std::ios::binary).rdbuf();
  return s.str();
}

std::string makeTempDirectory() {
  static struct Made {
    std::vector<std::string> paths;
    ~Made() {
      std::error_code ec;
      for (const auto& p : paths) std::filesystem::remove_all(p, ec);
    }
  } made;
  std::string pattern = (std::filesystem::temp_directory_path() / "tamsa-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) std::abort();
  made.paths.push_back(pattern);
  return pattern;
}

std::vector<std::string> widgetsCommand(const std::vector<std::string>& args,
                                        const std::vector<std::string>& environment) {
  std::vector<std::string> words = {"/usr/bin/env", "-i", "PATH=/usr/bin:/bin", "LANG=C.UTF-8",
                                    "TZ=UTC"};
  // A sanitized build's program needs the sanitizers' settings the tests run under.
  for (std::string name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS", "TSAN_OPTIONS"})
    if (const char* value = std::getenv(name.c_str())) words.push_back(name + "=" + value);
  words.insert(words.end(), environment.begin(), environment.end());
  words.push_back(TAMSA_WIDGETS_BINARY);
  words.insert(words.end(), args.begin(), args.end());
  return words;
}

ProgramResult runWidgets(const std::vector<std::string>& args,
                         const std::vector<std::string>& environment) {
  std::string dir = makeTempDirectory(), command = "exec";
  for (const auto& word : widgetsCommand(args, environment)) command += " " + quoted(word);
  int raw = std::system((command + " >" + dir + "/out 2>" + dir + "/err").c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw), readFile(dir + "/out"),
          readFile(dir + "/err")};
}

}  // namespace testing_support
