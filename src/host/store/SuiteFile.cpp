#include "host/store/SuiteFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "host/core/OutputFiles.h"
#include "platform/foundation/UserDefaults.h"
#include "shared/AppConfiguration.h"

namespace host {
namespace {

namespace fs = std::filesystem;

Failure cannot(const std::string& what, const fs::path& path, int error) {
  return Failure::runtime("cannot " + what + " " + path.string() + ": " + std::strerror(error));
}

// Refuses what is not a plain file where the suite should be.
std::optional<Failure> notAFile(const fs::path& path, const struct stat& st) {
  if (S_ISLNK(st.st_mode))
    return Failure::runtime(path.string() +
                            " is a symbolic link: the store is never read or written through one");
  if (S_ISDIR(st.st_mode))
    return Failure::runtime(path.string() + " is a folder, not a suite file");
  if (!S_ISREG(st.st_mode)) return Failure::runtime(path.string() + " is not a regular file");
  return std::nullopt;
}

// Reads at most limit + 1 bytes of a regular file, without following a link.
Result<std::string> readAtMost(const fs::path& path, std::size_t limit) {
  int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return cannot("read", path, errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return Failure::runtime(path.string() + " is not a regular file");
  }
  std::string bytes(limit + 1, '\0');
  std::size_t got = 0;
  while (got < bytes.size()) {
    ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int error = errno;
      ::close(fd);
      return cannot("read", path, error);
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  bytes.resize(got);
  return bytes;
}

// Makes dir unless it is there; refuses a link or a file in its place.
Outcome makeFolder(const fs::path& dir) {
  struct stat st {};
  if (::lstat(dir.c_str(), &st) == 0) {
    if (S_ISLNK(st.st_mode))
      return Failure::runtime(dir.string() +
                              " is a symbolic link: the store is never written through one");
    if (!S_ISDIR(st.st_mode)) return Failure::runtime(dir.string() + " is not a folder");
    return Done{};
  }
  if (errno != ENOENT) return cannot("reach", dir, errno);
  if (::mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) return cannot("make folder", dir, errno);
  return Done{};
}

SuiteReading nothingFound(SuiteReading::Found found) {
  SuiteReading reading;
  reading.found = found;
  reading.values.emplace();
  return reading;
}

}  // namespace

SuiteFile SuiteFile::in(const fs::path& container) {
  return {container, container / "Library" / "Preferences" /
                         (std::string(tamsa::appGroupIdentifier) + ".plist")};
}

Result<SuiteReading> readSuite(const SuiteFile& suite) {
  using Found = SuiteReading::Found;
  struct stat st {};
  if (::stat(suite.container.c_str(), &st) != 0)
    return nothingFound(errno == ENOTDIR ? Found::containerNotFolder : Found::noContainer);
  if (!S_ISDIR(st.st_mode)) return nothingFound(Found::containerNotFolder);
  if (::lstat(suite.path.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return nothingFound(Found::noSuite);
    return cannot("reach", suite.path, errno);
  }
  if (auto refused = notAFile(suite.path, st)) return *refused;
  constexpr std::size_t kLimit = foundation::UserDefaults::maxFileBytes;
  auto bytes = readAtMost(suite.path, kLimit);
  if (!bytes) return bytes.failure();
  SuiteReading reading{Found::suite, std::nullopt, "", st.st_mode & 07777};
  if (bytes->empty()) {
    reading.values.emplace();
  } else if (bytes->size() > kLimit) {
    reading.problem = "is larger than the " + std::to_string(kLimit) +
                      " bytes the widget reads (it reads as empty)";
  } else if (auto list = foundation::readPropertyList(*bytes); !list) {
    reading.problem = "does not parse as a property list (the widget reads it as empty)";
  } else if (auto* d = std::get_if<foundation::PlistDictionary>(&list->value)) {
    reading.values = std::move(*d);
  } else {
    reading.problem =
        "holds a property list that is not a dictionary (the widget reads it as empty)";
  }
  return reading;
}

Outcome writeSuite(const SuiteFile& suite, const foundation::PlistDictionary& values,
                   std::optional<mode_t> mode) {
  auto bytes = foundation::writeBinaryPropertyList(foundation::PlistValue{values});
  if (!bytes)
    return Failure::runtime("the suite nests deeper than a property list may (" +
                            std::to_string(foundation::maxPropertyListDepth) + ")");
  if (bytes->size() > foundation::UserDefaults::maxFileBytes)
    return Failure::runtime("the suite would take " + std::to_string(bytes->size()) +
                            " bytes; the widget reads at most " +
                            std::to_string(foundation::UserDefaults::maxFileBytes));
  std::error_code ec;
  if (fs::exists(suite.container, ec) && !fs::is_directory(suite.container, ec))
    return Failure::runtime("the container " + suite.container.string() + " is not a folder");
  if (!fs::is_directory(suite.container, ec)) {
    fs::create_directories(suite.container, ec);
    if (ec) return cannot("make folder", suite.container, ec.value());
  }
  for (const fs::path& dir : {suite.path.parent_path().parent_path(), suite.path.parent_path()})
    if (auto made = makeFolder(dir); !made) return made;
  // Checked again here: the file may have changed since it was read.
  struct stat st {};
  if (::lstat(suite.path.c_str(), &st) == 0)
    if (auto refused = notAFile(suite.path, st)) return *refused;
  // Preferences hold the user's money figures: private unless the file said otherwise.
  return writeFileAtomically(suite.path, *bytes,
                             {mode.value_or(0600), Durability::syncedBeforeRename});
}

}  // namespace host
