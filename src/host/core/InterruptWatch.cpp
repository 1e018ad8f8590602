#include "host/core/InterruptWatch.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace host {
namespace {

// Those that end a run without a core: an interrupt, a request to end, the terminal gone. One the
// process ignores (nohup, a background job's SIGINT) stays ignored: blocked for the watch, it would
// be delivered after all.
sigset_t interruptSignals() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction now {};
    if (::sigaction(signal, nullptr, &now) == 0 && now.sa_handler == SIG_IGN) continue;
    sigaddset(&set, signal);
  }
  return set;
}

// Ends the process by the signal, as if no one had been watching for it.
[[noreturn]] void dieOf(int signal) {
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  sigemptyset(&standard.sa_mask);
  ::sigaction(signal, &standard, nullptr);
  sigset_t one;
  sigemptyset(&one);
  sigaddset(&one, signal);
  ::pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
  ::raise(signal);
  ::_exit(128 + signal);
}

}  // namespace

InterruptWatch::InterruptWatch(std::function<void()> cleanup) {
  sigset_t set = interruptSignals();
  ::pthread_sigmask(SIG_BLOCK, &set, &previous_);
  signals_ = ::signalfd(-1, &set, SFD_CLOEXEC);
  stop_ = ::eventfd(0, EFD_CLOEXEC);
  // Without descriptors there is no watch: an interrupt then ends the process as it always would,
  // once the mask is restored, and the next run sweeps what it left.
  if (signals_ >= 0 && stop_ >= 0)
    thread_ = std::thread([this, cleanup = std::move(cleanup)] { watch(cleanup); });
}

InterruptWatch::~InterruptWatch() {
  if (thread_.joinable()) {
    std::uint64_t one = 1;
    while (::write(stop_, &one, sizeof one) < 0 && errno == EINTR) {
    }
    thread_.join();
  }
  if (signals_ >= 0) ::close(signals_);
  if (stop_ >= 0) ::close(stop_);
  ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

void InterruptWatch::watch(const std::function<void()>& cleanup) const {
  pollfd fds[2] = {{signals_, POLLIN, 0}, {stop_, POLLIN, 0}};
  while (true) {
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[1].revents != 0) return;
    signalfd_siginfo info{};
    if (::read(signals_, &info, sizeof info) != static_cast<ssize_t>(sizeof info)) continue;
    cleanup();
    dieOf(static_cast<int>(info.ssi_signo));
  }
}

}  // namespace host
