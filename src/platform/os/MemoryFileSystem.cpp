#include "platform/os/MemoryFileSystem.h"

#include <algorithm>

namespace os {
namespace {

std::string normalized(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

void MemoryFileSystem::addDirectory(const std::string& raw) {
  std::string path = normalized(raw);
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    directories_[path.substr(0, slash)] = true;
  }
  directories_[path] = true;
}

void MemoryFileSystem::addFile(const std::string& raw, std::string content) {
  std::string path = normalized(raw);
  auto slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0) addDirectory(path.substr(0, slash));
  files_[path] = std::move(content);
}

void MemoryFileSystem::remove(const std::string& raw) {
  const std::string path = normalized(raw), below = path + "/";
  auto eraseFrom = [&](auto& entries) {
    for (auto it = entries.begin(); it != entries.end();)
      it = it->first == path || it->first.rfind(below, 0) == 0 ? entries.erase(it) : std::next(it);
  };
  eraseFrom(files_);
  eraseFrom(directories_);
}

void MemoryFileSystem::move(const std::string& rawFrom, const std::string& rawTo) {
  const std::string from = normalized(rawFrom), to = normalized(rawTo), below = from + "/";
  auto moved = [&](auto& entries) {
    std::remove_reference_t<decltype(entries)> out;
    for (auto it = entries.begin(); it != entries.end();) {
      if (it->first == from || it->first.rfind(below, 0) == 0) {
        out.emplace(to + it->first.substr(from.size()), std::move(it->second));
        it = entries.erase(it);
      } else {
        ++it;
      }
    }
    return out;
  };
  auto files = moved(files_);
  auto directories = moved(directories_);
  remove(to);
  files_.merge(files);
  directories_.merge(directories);
}

FileKind MemoryFileSystem::kind(const std::string& path) const {
  std::string p = normalized(path);
  if (files_.count(p)) return FileKind::file;
  if (directories_.count(p)) return FileKind::directory;
  return FileKind::missing;
}

std::optional<std::string> MemoryFileSystem::readFile(const std::string& path,
                                                      std::size_t maxBytes) const {
  auto it = files_.find(normalized(path));
  if (it == files_.end() || it->second.size() > maxBytes) return std::nullopt;
  return it->second;
}

std::vector<std::string> MemoryFileSystem::listDirectory(const std::string& path) const {
  std::string prefix = normalized(path);
  if (prefix != "/") prefix += "/";
  std::vector<std::string> names;
  auto collect = [&](const std::string& full) {
    if (full.rfind(prefix, 0) != 0) return;
    std::string rest = full.substr(prefix.size());
    if (!rest.empty() && rest.find('/') == std::string::npos) names.push_back(rest);
  };
  for (const auto& [p, _] : files_) collect(p);
  for (const auto& [p, _] : directories_) collect(p);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace os
