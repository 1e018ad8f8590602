// Golden pictures: a freshly drawn PNG compared with the stored one. A few pixels may differ
// (antialiasing between library versions); a moved, resized or recoloured text does not pass. After
// an intended change of drawing, regenerate the stored pictures by running the test with
//   TAMSA_UPDATE_GOLDENS=1
// which copies each drawn picture over its golden instead of comparing. Header-only: include it
// only from test programs that link the renderer.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "drawing/WidgetRenderer.h"

namespace testing_support {

// Success when the picture at `actualPath` matches the one at `goldenPath`: no more than one pixel
// in 500 differs by more than 24 in any channel. While updating goldens, copies it over instead.
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
  bool comparable =
      actual && expected && actual->width == expected->width && actual->height == expected->height;
  int differing = 0;
  for (int y = 0; comparable && y < actual->height; ++y)
    for (int x = 0; x < actual->width; ++x) {
      auto a = actual->at(x, y), e = expected->at(x, y);
      differing += std::max({std::abs(a.red - e.red), std::abs(a.green - e.green),
                             std::abs(a.blue - e.blue), std::abs(a.alpha - e.alpha)}) > 24;
    }
  if (!comparable || differing > actual->width * actual->height / 500)
    return ::testing::AssertionFailure()
           << actualPath << " differs from " << goldenPath << " in "
           << (comparable
                   ? std::to_string(differing) + " pixels"
                   : "size, or one is unreadable (make goldens with TAMSA_UPDATE_GOLDENS=1)");
  return ::testing::AssertionSuccess();
}

}  // namespace testing_support
