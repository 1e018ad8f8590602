// Golden pictures: a freshly drawn PNG compared with the stored one. A few pixels may differ
// (antialiasing between library versions); a moved, resized or recoloured text does not pass. After
// an intended change of drawing, regenerate the stored pictures by running the test with
//   TAMSA_UPDATE_GOLDENS=1
// which copies each drawn picture over its golden instead of comparing. Header-only: include it
// only from test programs that link the renderer.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "drawing/PixelComparison.h"
#include "drawing/WidgetRenderer.h"

namespace testing_support {

// Success when the picture at `actualPath` matches the one at `goldenPath` as the snapshots
// compare pictures (drawing::comparePixels): no more than one pixel in 500 differs by more than 24
// in any channel, anti-aliasing noise on edges excused. While updating goldens, copies it over
// instead.
inline ::testing::AssertionResult matchesGolden(const std::string& actualPath,
                                                const std::string& goldenPath) {
  namespace fs = std::filesystem;
  if (const char* update = std::getenv("TAMSA_UPDATE_GOLDENS");
      update && update == std::string("1")) {
    fs::create_directories(fs::path(goldenPath).parent_path());
    fs::copy_file(actualPath, goldenPath, fs::copy_options::overwrite_existing);
    return ::testing::AssertionSuccess() << "updated " << goldenPath;
  }
  auto actual = drawing::readPng(actualPath), expected = drawing::readPng(goldenPath);
  if (!actual || !expected)
    return ::testing::AssertionFailure()
           << actualPath << " or " << goldenPath
           << " is unreadable (make goldens with TAMSA_UPDATE_GOLDENS=1)";
  const drawing::PixelThreshold threshold{
      24, static_cast<std::size_t>(expected->width) * expected->height / 500};
  drawing::PixelDifference d = drawing::comparePixels(*expected, *actual, threshold.level);
  if (d.exceeds(threshold))
    return ::testing::AssertionFailure()
           << actualPath << " differs from " << goldenPath << " in "
           << (d.sizesDiffer ? "size" : std::to_string(d.differing) + " pixels");
  return ::testing::AssertionSuccess();
}

}  // namespace testing_support
