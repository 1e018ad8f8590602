#include "host/matrix/MatrixDrawing.h"

#include <malloc.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "host/matrix/ProgressLine.h"

namespace host {
namespace {

// Groups whose cells may be drawn before the earliest unfinished group is done.
constexpr std::size_t kGroupWindow = 2;
// Allocations up to this size come from the heap, and this much freed memory is kept in it.
constexpr int kKeptAllocation = 64 << 20, kKeptFreeMemory = 1 << 30;

Result<DrawnPicture> drawCell(const LookOptions& l, const HomeScreen& home, const Matrix& m,
                              const MatrixCell& cell, const drawing::PangoTextMeasurer& measurer) {
  const MatrixState& state = m.groups[cell.group].states[cell.state];
  const auto& member = state.members[cell.member];
  PictureLook look{cell.appearance, l.device, l.scale, drawing::PictureFormat::png, home};
  if (cell.family)
    return drawWidget(*state.device, std::get<widgetkit::WidgetConfiguration>(member), *cell.family,
                      EntryChoice::timeline, look, measurer);
  return drawControl(*state.device, std::get<widgetkit::ControlConfiguration>(member), look,
                     measurer);
}

class MatrixRun {
 public:
  MatrixRun(const LookOptions& look, const HomeScreen& home, std::optional<int> jobs,
            const Matrix& m, const MatrixHandlers& h)
      : look_(look), home_(home), jobs_(jobs), m_(m), h_(h), left_(m.groups.size(), 0) {
    for (const auto& c : m.cells) ++left_[c.group];
  }

  Outcome run() {
    // Pictures of a few sizes are made and dropped thousands of times: their memory is kept for
    // the next ones rather than handed back to the system and faulted in again, which cost half a
    // million page faults a run. The run's memory stays that of the pictures alive at once.
    ::mallopt(M_MMAP_THRESHOLD, kKeptAllocation);
    ::mallopt(M_TRIM_THRESHOLD, kKeptFreeMemory);
    unsigned cores = jobs_ ? static_cast<unsigned>(*jobs_) : std::thread::hardware_concurrency();
    unsigned threads =
        std::max(1u, std::min<unsigned>(cores, static_cast<unsigned>(m_.cells.size())));
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t) workers.emplace_back([this] { work(); });
    Outcome outcome = finishGroups();
    {
      std::lock_guard lock(mutex_);
      if (!outcome && !failure_) failure_ = outcome.failure();
    }
    changed_.notify_all();
    for (auto& w : workers) w.join();
    if (failure_) return *failure_;
    return Done{};
  }

 private:
  void work() {
    drawing::PangoTextMeasurer measurer(look_.scale);
    while (true) {
      std::size_t i = 0;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] {
          return failure_ || next_ >= m_.cells.size() ||
                 m_.cells[next_].group < firstOpenGroup_ + kGroupWindow;
        });
        if (failure_ || next_ >= m_.cells.size()) return;
        i = next_++;
      }
      auto drawn = drawCell(look_, home_, m_, m_.cells[i], measurer);
      Outcome handled = drawn ? h_.cellDrawn(i, std::move(*drawn)) : Outcome(drawn.failure());
      {
        std::lock_guard lock(mutex_);
        if (!handled) {
          if (!failure_) failure_ = handled.failure();
        } else {
          --left_[m_.cells[i].group];
          ++done_;
        }
      }
      changed_.notify_all();
    }
  }

  // On the calling thread: each group's handler once its cells are handed over, in order.
  Outcome finishGroups() {
    ProgressLine progress(m_.cells.size());
    for (std::size_t g = 0; g < m_.groups.size(); ++g) {
      {
        std::unique_lock lock(mutex_);
        while (!failure_ && left_[g] > 0) {
          changed_.wait_for(lock, std::chrono::milliseconds(100));
          progress.update(done_);
        }
        if (failure_) return *failure_;
      }
      if (h_.groupDone)
        if (auto r = h_.groupDone(g); !r) return r;
      {
        std::lock_guard lock(mutex_);
        firstOpenGroup_ = g + 1;
      }
      changed_.notify_all();
    }
    progress.finish(done_);
    return Done{};
  }

  LookOptions look_;
  HomeScreen home_;
  std::optional<int> jobs_;
  const Matrix& m_;
  const MatrixHandlers& h_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::size_t> left_;  // per group, cells not yet handed over
  std::size_t next_ = 0, done_ = 0, firstOpenGroup_ = 0;
  std::optional<Failure> failure_;
};

}  // namespace

Outcome drawMatrix(const Matrix& matrix, const LookOptions& look, const HomeScreen& home,
                   std::optional<int> jobs, const MatrixHandlers& handlers) {
  return MatrixRun(look, home, jobs, matrix, handlers).run();
}

}  // namespace host
