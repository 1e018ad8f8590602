#include "host/core/OutputFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace host {

namespace fs = std::filesystem;

std::string temporaryPattern(const fs::path& destination) {
  return "." + destination.filename().string() + ".tmp-XXXXXX";
}

bool isTemporaryOf(std::string_view name, const fs::path& destination) {
  const std::string pattern = temporaryPattern(destination);
  const std::size_t fixed = pattern.size() - 6;
  if (name.size() != pattern.size() || name.substr(0, fixed) != pattern.substr(0, fixed))
    return false;
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(fixed), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  });
}

OutputFiles::~OutputFiles() {
  for (const auto& s : staged_) (void)files_.remove(s.temporary);
}

Outcome OutputFiles::stage(const fs::path& destination, std::string_view bytes,
                           os::WriteSettings settings) {
  auto temporary = files_.makeTemporaryFile(destination.string(), temporaryPattern(destination),
                                            bytes, settings);
  if (!temporary) return temporary.failure();
  staged_.push_back({destination.string(), std::move(*temporary), settings.durability});
  return Done{};
}

Outcome OutputFiles::commit() {
  std::vector<std::string> placed;  // destinations that did not exist before
  for (std::size_t i = 0; i < staged_.size(); ++i) {
    const Staged& s = staged_[i];
    bool existed =
        files_.isSymbolicLink(s.destination) || files_.kind(s.destination) != os::FileKind::missing;
    if (auto renamed = files_.rename(s.temporary, s.destination, s.durability); !renamed) {
      for (const auto& p : placed) (void)files_.remove(p);
      // What was renamed is no longer a temporary; the rest are removed with this object.
      staged_.erase(staged_.begin(), staged_.begin() + static_cast<std::ptrdiff_t>(i));
      return renamed;
    }
    if (!existed) placed.push_back(s.destination);
  }
  staged_.clear();
  return Done{};
}

Outcome writeFileAtomically(os::WritableFileSystem& files, const fs::path& destination,
                            std::string_view bytes, os::WriteSettings settings) {
  OutputFiles out(files);
  if (auto staged = out.stage(destination, bytes, settings); !staged) return staged;
  return out.commit();
}

Outcome writeStandardOutput(std::string_view text) {
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
    return Failure::runtime(std::string("cannot write to standard output: ") +
                            std::strerror(errno ? errno : EIO));
  return Done{};
}

}  // namespace host
