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
  std::stringstream s;
  s << std::ifstream(path, std::ios::binary).rdbuf();
  return s.str();
}

// execve wants NUL-ended arrays of writable strings.
std::vector<char*> pointers(std::vector<std::string>& strings) {
  std::vector<char*> out;
  for (auto& s : strings) out.push_back(s.data());
  out.push_back(nullptr);
  return out;
}

}  // namespace

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

ProgramResult runWidgets(const std::vector<std::string>& args,
                         const std::vector<std::string>& environment) {
  std::string dir = makeTempDirectory(), outPath = dir + "/out", errPath = dir + "/err";
  pid_t pid = ::fork();
  if (pid == 0) {
    std::vector<std::string> env = {"PATH=/usr/bin:/bin", "LANG=C.UTF-8", "TZ=UTC"};
    // A sanitized build's program needs the sanitizers' settings the tests run under.
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS", "TSAN_OPTIONS"})
      if (const char* value = std::getenv(name)) env.push_back(std::string(name) + "=" + value);
    env.insert(env.end(), environment.begin(), environment.end());
    std::vector<std::string> argv = {TAMSA_WIDGETS_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    if (std::freopen(outPath.c_str(), "w", stdout) && std::freopen(errPath.c_str(), "w", stderr))
      ::execve(argv[0].c_str(), pointers(argv).data(), pointers(env).data());
    ::_exit(127);
  }
  int raw = 0;
  ::waitpid(pid, &raw, 0);
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw), readAll(outPath),
          readAll(errPath)};
}

}  // namespace testing_support
