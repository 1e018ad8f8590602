#include "host/core/StagedFolder.h"

#include <mutex>
#include <optional>
#include <shared_mutex>

#include "host/core/InterruptWatch.h"
#include "host/core/OutputFiles.h"

namespace host {
namespace {

namespace fs = std::filesystem;
using Lock = std::unique_ptr<os::WritableFileSystem::FolderLock>;

Failure inCommand(const char* command, const Failure& failure) {
  return Failure::runtime(std::string(command) + ": " + failure.message);
}

fs::path parentOf(const fs::path& output) {
  return output.parent_path().empty() ? fs::path(".") : output.parent_path();
}

}  // namespace

// Shared with the interrupt watch's thread, so it lives on the heap and never moves.
struct StagedFolder::Staging {
  std::shared_ptr<os::WritableFileSystem> files;
  fs::path output, folder;  // folder: empty until made
  const char* command;
  Lock lock;  // the staging folder, locked for as long as this run may use it
  // Writers share it; the commit, the abandonment and an interrupt take it whole, so none of
  // them removes or moves the folder under a writer.
  std::shared_mutex mutex;
  bool finished = false;  // committed or abandoned: the folder is no longer ours to remove
  std::optional<InterruptWatch> watch;

  Staging(std::shared_ptr<os::WritableFileSystem> fs, fs::path out, const char* cmd)
      : files(std::move(fs)), output(std::move(out)), command(cmd) {
    watch.emplace([this] {
      std::unique_lock hold(mutex);
      removeFolder();
      // The process ends now; the lock stays taken so no writer touches the folder again.
      (void)hold.release();
    });
  }

  ~Staging() {
    {
      std::unique_lock hold(mutex);
      removeFolder();
      finished = true;
    }
    lock.reset();
    watch.reset();
  }

  // With the mutex held. Only the folder this run made and locked: not whatever took its name.
  void removeFolder() {
    if (!finished && !folder.empty() && (!lock || lock->isAt(folder.string())))
      (void)files->removeTree(folder.string());
  }
};

std::size_t sweepStaleStaging(os::WritableFileSystem& files, const fs::path& output,
                              const FolderKind& kind) {
  std::size_t removed = 0;
  const fs::path parent = parentOf(output);
  for (const auto& name : files.listDirectory(parent.string())) {
    if (!isTemporaryOf(name, output)) continue;
    const std::string path = (parent / name).string();
    // Never a symbolic link, nor a folder a live run holds; a run that died released its lock.
    auto lock = files.lockFolder(path, os::WritableFileSystem::LockWait::never);
    if (!lock) continue;
    const std::string marker = (parent / name / kind.marker).string();
    if (!files.isSymbolicLink(marker) && files.kind(marker) == os::FileKind::file &&
        (*lock)->isAt(path) && files.removeTree(path))
      ++removed;
  }
  return removed;
}

Result<StagedFolder> StagedFolder::prepare(std::shared_ptr<os::WritableFileSystem> files,
                                           const fs::path& given, const FolderKind& kind) {
  // "out/" names the folder "out": its staging folder goes beside it, not inside.
  fs::path output = given;
  while (!output.has_filename() && output.has_relative_path()) output = output.parent_path();
  const std::string out = output.string();
  const bool link = files->isSymbolicLink(out);
  if (link || files->kind(out) != os::FileKind::missing) {
    const std::string marker = (output / kind.marker).string();
    bool replaceable =
        !link && files->kind(out) == os::FileKind::directory &&
        (files->listDirectory(out).empty() || files->kind(marker) != os::FileKind::missing);
    if (!replaceable)
      return Failure::usage(std::string(kind.command) + ": " + out + " exists and is not " +
                            kind.what + "; name a new or empty folder");
  }
  sweepStaleStaging(*files, output, kind);
  // Watched before the folder exists, so that no interrupt finds it unwatched.
  auto staging = std::make_unique<Staging>(files, output, kind.command);
  auto made = files->makeTemporaryFolder(parentOf(output).string(), temporaryPattern(output));
  if (!made) return inCommand(kind.command, made.failure());
  {
    std::unique_lock hold(staging->mutex);
    staging->folder = *made;
  }
  // Locked before the marker is written: a sweep removes only a folder with the marker that no
  // one locks, so never one a live run is still setting up.
  auto lock = files->lockFolder(*made, os::WritableFileSystem::LockWait::untilFree);
  if (!lock) return inCommand(kind.command, lock.failure());
  staging->lock = std::move(*lock);
  StagedFolder folder(std::move(staging));
  if (auto r = folder.write(kind.marker, "Drawn by tamsa-widgets; replaced when drawn again.\n");
      !r)
    return r.failure();
  return folder;
}

StagedFolder::StagedFolder(std::unique_ptr<Staging> staging) : staging_(std::move(staging)) {}
StagedFolder::StagedFolder(StagedFolder&&) noexcept = default;
StagedFolder::~StagedFolder() = default;

Outcome StagedFolder::write(const fs::path& relative, std::string_view bytes) {
  std::shared_lock hold(staging_->mutex);
  os::WritableFileSystem& files = *staging_->files;
  const fs::path target = staging_->folder / relative;
  if (auto made = files.makeFolders(target.parent_path().string()); !made)
    return inCommand(staging_->command, made.failure());
  // The staging folder is private and swept whole when the run fails, so a file is written in
  // place: a temporary and a rename per file would double the work of a large gallery.
  if (auto written = files.writeFile(target.string(), bytes, {}); !written)
    return inCommand(staging_->command, written.failure());
  return Done{};
}

Outcome StagedFolder::commit() {
  Staging& s = *staging_;
  std::unique_lock hold(s.mutex);
  os::WritableFileSystem& files = *s.files;
  const std::string output = s.output.string();
  // The staging folder was made private; the result is not.
  if (auto r = files.giveFolderMode(s.folder.string(), output); !r)
    return inCommand(s.command, r.failure());
  std::string old;
  if (files.isSymbolicLink(output) || files.kind(output) != os::FileKind::missing) {
    auto made = files.makeTemporaryFolder(parentOf(s.output).string(),
                                          s.output.filename().string() + ".old-XXXXXX");
    if (!made) return inCommand(s.command, made.failure());
    old = *made;
    if (auto moved = files.rename(output, old); !moved) {
      (void)files.remove(old);
      return inCommand(s.command, moved.failure());
    }
  }
  if (auto moved = files.rename(s.folder.string(), output); !moved) {
    if (!old.empty()) (void)files.rename(old, output);
    return inCommand(s.command, moved.failure());
  }
  s.finished = true;
  if (!old.empty()) (void)files.removeTree(old);
  return Done{};
}

}  // namespace host
