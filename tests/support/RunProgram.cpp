#include "support/RunProgram.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace testing_support {
namespace {

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct TempDirectories {
  std::vector<std::string> paths;
  ~TempDirectories() {
    std::error_code ec;
    for (const auto& p : paths) std::filesystem::remove_all(p, ec);
  }
};

}  // namespace

std::string makeTempDirectory() {
  static TempDirectories made;
  std::string pattern = (std::filesystem::temp_directory_path() / "tamsa-test-XXXXXX").string();
  char* dir = ::mkdtemp(pattern.data());
  if (!dir) std::abort();
  made.paths.push_back(dir);
  return dir;
}

ProgramResult runWidgets(const std::vector<std::string>& args,
                         const std::vector<std::string>& environment) {
  std::string dir = makeTempDirectory();
  std::string outPath = dir + "/out", errPath = dir + "/err";
  pid_t pid = ::fork();
  if (pid == 0) {
    std::vector<std::string> envStrings = {"PATH=/usr/bin:/bin", "LANG=C.UTF-8", "TZ=UTC"};
    // A sanitized build's program needs the sanitizers' settings the tests run under.
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS", "TSAN_OPTIONS"}) {
      if (const char* value = std::getenv(name))
        envStrings.push_back(std::string(name) + "=" + value);
    }
    for (const auto& e : environment) envStrings.push_back(e);
    std::vector<char*> env;
    for (auto& e : envStrings) env.push_back(e.data());
    env.push_back(nullptr);
    std::vector<std::string> argStrings = {TAMSA_WIDGETS_BINARY};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argStrings) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (!std::freopen(outPath.c_str(), "w", stdout) || !std::freopen(errPath.c_str(), "w", stderr))
      ::_exit(127);
    ::execve(argv[0], argv.data(), env.data());
    ::_exit(127);
  }
  int raw = 0;
  ::waitpid(pid, &raw, 0);
  ProgramResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
  result.out = readAll(outPath);
  result.err = readAll(errPath);
  return result;
}

}  // namespace testing_support
