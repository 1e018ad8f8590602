#include "host/core/InputFiles.h"

#include <memory>

#include "drawing/PngCodec.h"

namespace host {

Result<std::string> readPlainFile(const os::WritableFileSystem& files,
                                  const std::filesystem::path& path, std::size_t maxBytes) {
  return files.readPlainFile(path.string(), maxBytes);
}

Result<HomeScreen> loadHomeScreen(const os::WritableFileSystem& files, const LookOptions& look) {
  HomeScreen home;
  home.tint = look.tint;
  if (!look.wallpaper) return home;
  auto bytes = readPlainFile(files, *look.wallpaper, std::size_t{64} << 20);
  if (!bytes) return Failure::runtime("--wallpaper: " + bytes.failure().message);
  auto pixels = drawing::decodePng(*bytes, std::size_t{1} << 25);
  if (!pixels)
    return Failure::runtime("--wallpaper: " + *look.wallpaper + ": " + pixels.failure().message);
  home.wallpaper = std::make_shared<const drawing::RenderedImage>(blurredWallpaper(*pixels));
  return home;
}

}  // namespace host
