// Draws a matrix's cells on every core (or --jobs threads), each thread with a text measurer of
// its own, handing each drawn cell to the caller on the thread that drew it, and each finished
// group to the caller on the calling thread, in order. Cells are started at most a couple of
// groups ahead of the earliest unfinished one, so a caller that frees a group's pixels when it is
// done keeps memory flat. The gallery and the snapshots both draw through here.
#pragma once

#include <cstddef>
#include <functional>

#include "host/core/HostSession.h"
#include "host/matrix/CellMatrix.h"
#include "host/pictures/Drawing.h"

namespace host {

struct MatrixHandlers {
  // On a drawing thread, once per cell; cells are handed over concurrently, each exactly once.
  std::function<Outcome(std::size_t cell, DrawnPicture picture)> cellDrawn;
  // On the calling thread, in group order, once every cell of the group was handed over.
  std::function<Outcome(std::size_t group)> groupDone;
};

// Draws every cell with `look`'s device and scale on `home` on `jobs` threads (nothing: one per
// core); the first failure (of a drawing or a handler) stops the run and is returned.
Outcome drawMatrix(const Matrix& matrix, const LookOptions& look, const HomeScreen& home,
                   std::optional<int> jobs, const MatrixHandlers& handlers);

}  // namespace host
