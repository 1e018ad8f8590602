#include "platform/os/MemoryWritableFileSystem.h"

#include <algorithm>

namespace os {
namespace {

using base::Done;
using base::Failure;
using base::Outcome;
using base::Result;

std::string normalized(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

Failure cannot(const std::string& what, const std::string& path, const char* why) {
  return Failure::runtime("cannot " + what + " " + path + ": " + why);
}

}  // namespace

void MemoryWritableFileSystem::addFile(const std::string& path, std::string content) {
  std::lock_guard hold(mutex_);
  files_.addFile(path, std::move(content));
}

void MemoryWritableFileSystem::addDirectory(const std::string& path) {
  std::lock_guard hold(mutex_);
  files_.addDirectory(path);
}

void MemoryWritableFileSystem::addSymbolicLink(const std::string& path) {
  std::lock_guard hold(mutex_);
  files_.addDirectory(folderOf(normalized(path)));
  links_.insert(normalized(path));
}

void MemoryWritableFileSystem::inject(Fault fault, const std::string& path) {
  std::lock_guard hold(mutex_);
  (fault == Fault::diskFull ? fullFolders_ : failingRenames_).insert(normalized(path));
}

std::vector<std::string> MemoryWritableFileSystem::everything() const {
  std::lock_guard hold(mutex_);
  std::vector<std::string> out;
  auto walk = [&](auto& self, const std::string& folder) -> void {
    for (const auto& name : files_.listDirectory(folder)) {
      std::string path = (folder == "/" ? "" : folder) + "/" + name;
      if (files_.kind(path) == FileKind::directory) {
        out.push_back(path + "/");
        self(self, path);
      } else {
        out.push_back(path);
      }
    }
  };
  walk(walk, "/");
  for (const auto& link : links_) out.push_back(link + " ->");
  std::sort(out.begin(), out.end());
  return out;
}

FileKind MemoryWritableFileSystem::kindLocked(const std::string& path) const {
  std::string p = normalized(path);
  if (p == "/") return FileKind::directory;
  if (links_.count(p)) return FileKind::missing;  // our links lead nowhere
  return files_.kind(p);
}

FileKind MemoryWritableFileSystem::kind(const std::string& path) const {
  std::lock_guard hold(mutex_);
  return kindLocked(path);
}

std::optional<std::string> MemoryWritableFileSystem::readFile(const std::string& path,
                                                              std::size_t maxBytes) const {
  std::lock_guard hold(mutex_);
  return files_.readFile(path, maxBytes);
}

std::vector<std::string> MemoryWritableFileSystem::listDirectory(const std::string& path) const {
  std::lock_guard hold(mutex_);
  auto names = files_.listDirectory(path);
  const std::string prefix = normalized(path) == "/" ? "/" : normalized(path) + "/";
  for (const auto& link : links_)
    if (link.rfind(prefix, 0) == 0 && link.find('/', prefix.size()) == std::string::npos)
      names.push_back(link.substr(prefix.size()));
  std::sort(names.begin(), names.end());
  return names;
}

bool MemoryWritableFileSystem::isSymbolicLink(const std::string& path) const {
  std::lock_guard hold(mutex_);
  return links_.count(normalized(path)) > 0;
}

Result<std::string> MemoryWritableFileSystem::readPlainFile(const std::string& path,
                                                            std::size_t maxBytes) const {
  std::lock_guard hold(mutex_);
  if (links_.count(normalized(path)))
    return cannot("read", path, "Too many levels of symbolic links");
  switch (files_.kind(path)) {
    case FileKind::missing:
      return cannot("read", path, "No such file or directory");
    case FileKind::file:
      break;
    default:
      return Failure::runtime(path + " is not a regular file");
  }
  auto bytes = files_.readFile(path, maxBytes);
  if (!bytes)
    return Failure::runtime(path + " is larger than " + std::to_string(maxBytes) + " bytes");
  return std::move(*bytes);
}

std::string MemoryWritableFileSystem::uniqueName(const std::string& folder, std::string pattern) {
  std::string path;
  unsigned made = 0;
  do {
    unsigned n = made++;
    for (std::size_t i = pattern.size(); i-- > pattern.size() - 6; n /= 10)
      pattern[i] = static_cast<char>('0' + n % 10);
    path = (folder == "/" ? "" : normalized(folder)) + "/" + pattern;
  } while (kindLocked(path) != FileKind::missing || links_.count(path));
  return path;
}

Result<std::string> MemoryWritableFileSystem::makeTemporaryFile(const std::string& destination,
                                                                const std::string& pattern,
                                                                std::string_view bytes,
                                                                const WriteSettings&) {
  std::lock_guard hold(mutex_);
  const std::string folder = normalized(folderOf(destination));
  if (kindLocked(folder) != FileKind::directory)
    return cannot("write", destination, "No such file or directory");
  if (fullFolders_.erase(folder)) return cannot("write", destination, "No space left on device");
  std::string path = uniqueName(folder, pattern);
  files_.addFile(path, std::string(bytes));
  return path;
}

Outcome MemoryWritableFileSystem::writeFile(const std::string& rawPath, std::string_view bytes,
                                            const WriteSettings&) {
  std::lock_guard hold(mutex_);
  const std::string path = normalized(rawPath), folder = folderOf(path);
  if (kindLocked(folder) != FileKind::directory)
    return cannot("write", path, "No such file or directory");
  if (links_.count(path)) return cannot("write", path, "Too many levels of symbolic links");
  if (kindLocked(path) == FileKind::directory) return cannot("write", path, "Is a directory");
  if (fullFolders_.erase(folder)) return cannot("write", path, "No space left on device");
  files_.addFile(path, std::string(bytes));
  return Done{};
}

Result<std::string> MemoryWritableFileSystem::makeTemporaryFolder(const std::string& folder,
                                                                  const std::string& pattern) {
  std::lock_guard hold(mutex_);
  if (kindLocked(folder) != FileKind::directory)
    return cannot("make a folder in", folder, "No such file or directory");
  if (fullFolders_.erase(normalized(folder)))
    return cannot("make a folder in", folder, "No space left on device");
  std::string path = uniqueName(folder, pattern);
  files_.addDirectory(path);
  return path;
}

Outcome MemoryWritableFileSystem::makeFolders(const std::string& path) {
  std::lock_guard hold(mutex_);
  for (std::string above = normalized(path); above != "/" && above != ".";
       above = folderOf(above)) {
    if (links_.count(above)) return cannot("make", path, "File exists");
    if (files_.kind(above) == FileKind::file) return cannot("make", path, "Not a directory");
  }
  files_.addDirectory(path);
  return Done{};
}

Outcome MemoryWritableFileSystem::rename(const std::string& rawFrom, const std::string& rawTo,
                                         Durability) {
  std::lock_guard hold(mutex_);
  const std::string from = normalized(rawFrom), to = normalized(rawTo);
  const FileKind source = kindLocked(from), target = kindLocked(to);
  if (failingRenames_.erase(to)) return cannot("write", to, "Input/output error");
  if (source == FileKind::missing) return cannot("write", to, "No such file or directory");
  if (kindLocked(folderOf(to)) != FileKind::directory)
    return cannot("write", to, "No such file or directory");
  if (source == FileKind::file && target == FileKind::directory)
    return cannot("write", to, "Is a directory");
  if (source == FileKind::directory && target == FileKind::file)
    return cannot("write", to, "Not a directory");
  if (target == FileKind::directory && !files_.listDirectory(to).empty())
    return cannot("write", to, "Directory not empty");
  links_.erase(to);
  files_.move(from, to);
  for (auto& [_, at] : locks_) {
    if (at == to || at.rfind(to + "/", 0) == 0) at.clear();
    if (at == from || at.rfind(from + "/", 0) == 0) at = to + at.substr(from.size());
  }
  return Done{};
}

Outcome MemoryWritableFileSystem::remove(const std::string& path) {
  std::lock_guard hold(mutex_);
  if (links_.erase(normalized(path))) return Done{};
  if (files_.kind(path) == FileKind::directory && !files_.listDirectory(path).empty())
    return cannot("remove", path, "Directory not empty");
  files_.remove(path);
  return Done{};
}

Outcome MemoryWritableFileSystem::removeTree(const std::string& path) {
  std::lock_guard hold(mutex_);
  const std::string p = normalized(path);
  if (links_.erase(p)) return Done{};
  for (auto it = links_.begin(); it != links_.end();)
    it = it->rfind(p + "/", 0) == 0 ? links_.erase(it) : std::next(it);
  for (auto& [_, at] : locks_)
    if (at == p || at.rfind(p + "/", 0) == 0) at.clear();
  files_.remove(p);
  return Done{};
}

Outcome MemoryWritableFileSystem::giveFolderMode(const std::string& path, const std::string&) {
  std::lock_guard hold(mutex_);
  if (kindLocked(path) != FileKind::directory)
    return cannot("make", path, "No such file or directory");
  return Done{};
}

class MemoryWritableFileSystem::Lock final : public FolderLock {
 public:
  Lock(MemoryWritableFileSystem& files, unsigned id) : files_(files), id_(id) {}
  ~Lock() override {
    std::lock_guard hold(files_.mutex_);
    files_.locks_.erase(id_);
  }
  bool isAt(const std::string& path) const override {
    std::lock_guard hold(files_.mutex_);
    return files_.locks_.at(id_) == normalized(path);
  }

 private:
  MemoryWritableFileSystem& files_;
  unsigned id_;
};

Result<std::unique_ptr<WritableFileSystem::FolderLock>> MemoryWritableFileSystem::lockFolder(
    const std::string& raw, LockWait) {
  std::lock_guard hold(mutex_);
  const std::string path = normalized(raw);
  if (links_.count(path) || kindLocked(path) != FileKind::directory)
    return cannot("lock", path, "Not a directory");
  // Nothing here could ever free a lock another holds: waiting is failing.
  for (const auto& [_, at] : locks_)
    if (at == path) return cannot("lock", path, "Resource temporarily unavailable");
  locks_[++lockCount_] = path;
  return std::unique_ptr<FolderLock>(std::make_unique<Lock>(*this, lockCount_));
}

}  // namespace os
