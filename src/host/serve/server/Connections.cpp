#include "host/serve/server/Connections.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

namespace host {
namespace {

constexpr std::size_t kReadPiece = 4096;
constexpr auto kLongestSleep = std::chrono::seconds(1);

}  // namespace

Connections::Connections(ConnectionLimits limits, Answer answer)
    : limits_(limits),
      answer_(std::move(answer)),
      epoll_(epoll_create1(EPOLL_CLOEXEC)),
      wake_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
  epoll_event e{};
  e.events = EPOLLIN;
  e.data.fd = wake_;
  epoll_ctl(epoll_, EPOLL_CTL_ADD, wake_, &e);
  std::lock_guard lock(mutex_);
  for (std::size_t i = 0; i < limits_.workers; ++i) addWorker();
  watching_ = std::thread([this] { watch(); });
}

Connections::~Connections() {
  stop();
  close(epoll_);
  close(wake_);
}

void Connections::admit(int socket) {
  fcntl(socket, F_SETFL, fcntl(socket, F_GETFL) | O_NONBLOCK);
  int yes = 1;  // answers go out whole at once; small ones should not wait for the last ACK
  setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
  std::unique_lock lock(mutex_);
  // Full: the connection waiting longest for its request goes; with none waiting, the accepting
  // thread waits and the kernel's backlog holds new clients.
  room_.wait(lock, [&] { return open_ < limits_.connections || !waiting_.empty() || stopping_; });
  if (stopping_) {
    close(socket);
    return;
  }
  if (open_ >= limits_.connections) {
    auto oldest = std::min_element(waiting_.begin(), waiting_.end(), [](auto& a, auto& b) {
      return a.second.deadline < b.second.deadline;
    });
    drop(oldest->first, 0);
  }
  ++open_;
  await({socket, "", Clock::now() + limits_.deadline, 0});
}

void Connections::await(Connection c) {
  RequestHead head = examineRequest(c.received, limits_.request);
  if (head.kind == RequestHead::Kind::refused) return drop(c.socket, head.status);
  if (head.kind == RequestHead::Kind::whole) {
    whole_.push_back(std::move(c));
    ready_.notify_one();
    return;
  }
  c.needed = head.length;
  epoll_event e{};
  e.events = EPOLLIN | EPOLLRDHUP;
  e.data.fd = c.socket;
  epoll_ctl(epoll_, EPOLL_CTL_ADD, c.socket, &e);
  waiting_.emplace(c.socket, std::move(c));
}

void Connections::drop(int socket, int status) {
  if (status != 0) {
    std::string_view answer = refusal(status);
    if (send(socket, answer.data(), answer.size(), MSG_NOSIGNAL | MSG_DONTWAIT) < 0) {
      // The client is gone or not reading: it is closed all the same.
    }
  }
  if (waiting_.erase(socket)) epoll_ctl(epoll_, EPOLL_CTL_DEL, socket, nullptr);
  shutdown(socket, SHUT_RDWR);
  close(socket);
  --open_;
  room_.notify_one();
}

void Connections::receive(int socket) {
  auto it = waiting_.find(socket);
  if (it == waiting_.end()) return;
  Connection& c = it->second;
  bool ended = false;    // the client sends no more: a whole request is still answered
  bool lineEnd = false;  // only a new line can end the head or add a header
  for (;;) {
    std::size_t had = c.received.size();
    c.received.resize(had + kReadPiece);
    ssize_t n = recv(socket, c.received.data() + had, kReadPiece, MSG_DONTWAIT);
    c.received.resize(had + std::max<ssize_t>(n, 0));
    if (n < 0 && errno == EINTR) continue;
    ended = n == 0 || (n < 0 && errno != EAGAIN);
    if (n <= 0) break;
    lineEnd = lineEnd || c.received.find('\n', had) != std::string::npos;
    // What one request may hold has come: enough to judge it.
    if (c.received.size() >= limits_.request.headBytes + limits_.request.body) break;
  }
  // A head is looked at again only when it may have changed, so that a client sending a byte at
  // a time costs a look per line, not per byte.
  if (c.needed == 0 && (lineEnd || c.received.size() >= limits_.request.headBytes)) {
    RequestHead head = examineRequest(c.received, limits_.request);
    if (head.kind == RequestHead::Kind::refused) return drop(socket, head.status);
    c.needed = head.length;
  }
  if (c.needed != 0 && c.received.size() >= c.needed) {
    epoll_ctl(epoll_, EPOLL_CTL_DEL, socket, nullptr);
    c.needed = 0;
    whole_.push_back(std::move(c));
    waiting_.erase(it);
    ready_.notify_one();
  } else if (ended) {
    drop(socket, 0);
  }
}

void Connections::watch() {
  epoll_event events[64];
  for (;;) {
    int timeout = 0;
    {
      std::lock_guard lock(mutex_);
      if (stopping_) return;
      auto next = Clock::now() + kLongestSleep;
      for (const auto& [socket, c] : waiting_) next = std::min(next, c.deadline);
      auto left = std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now()).count();
      timeout = static_cast<int>(std::clamp<long long>(left, 0, INT_MAX));
    }
    int n = epoll_wait(epoll_, events, 64, timeout);
    std::lock_guard lock(mutex_);
    if (stopping_) return;
    for (int i = 0; i < n; ++i)
      if (events[i].data.fd != wake_) receive(events[i].data.fd);
    // Late: a client that began a request is told why it is closed; an idle one is just closed.
    const auto now = Clock::now();
    std::vector<std::pair<int, bool>> late;
    for (const auto& [socket, c] : waiting_)
      if (c.deadline <= now) late.emplace_back(socket, !c.received.empty());
    for (auto [socket, began] : late) drop(socket, began ? 408 : 0);
  }
}

void Connections::work() {
  for (;;) {
    Connection c;
    {
      std::unique_lock lock(mutex_);
      ready_.wait(lock, [&] { return stopping_ || !whole_.empty() || surplus(); });
      // A thread one too many ends, but not while a request waits for it.
      if (stopping_ || (surplus() && whole_.empty())) {
        --workers_;
        finished_.push_back(std::this_thread::get_id());
        return;
      }
      c = std::move(whole_.front());
      whole_.pop_front();
      answering_.insert(c.socket);
    }
    RequestStream stream(c.socket, std::move(c.received), c.deadline, limits_.writeTimeout);
    bool again = answer_(stream, ++c.answered >= limits_.requestsPerConnection);
    std::lock_guard lock(mutex_);
    answering_.erase(c.socket);
    if (again && !stopping_) {
      c.received = stream.unread();
      c.deadline = Clock::now() + limits_.deadline;
      await(std::move(c));
    } else {
      close(c.socket);
      --open_;
      room_.notify_one();
    }
  }
}

bool Connections::surplus() const {
  return workers_ - streams_ > limits_.workers;
}

void Connections::addWorker() {
  for (auto id : finished_) {
    threads_[id].join();
    threads_.erase(id);
  }
  finished_.clear();
  ++workers_;
  std::thread t([this] { work(); });
  auto id = t.get_id();
  threads_.emplace(id, std::move(t));
}

bool Connections::streamBegins() {
  std::lock_guard lock(mutex_);
  if (streams_ >= limits_.streams || stopping_) return false;
  ++streams_;
  if (workers_ - streams_ < limits_.workers) addWorker();
  return true;
}

void Connections::streamEnds() {
  std::lock_guard lock(mutex_);
  --streams_;
  ready_.notify_all();  // one worker is now one too many
}

void Connections::stop() {
  std::map<std::thread::id, std::thread> threads;
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return;
    stopping_ = true;
    for (int socket : answering_) shutdown(socket, SHUT_RDWR);  // their workers close them
    while (!waiting_.empty()) drop(waiting_.begin()->first, 0);
    for (auto& c : whole_) {
      close(c.socket);
      --open_;
    }
    whole_.clear();
    threads = std::move(threads_);
  }
  ready_.notify_all();
  room_.notify_all();
  std::uint64_t one = 1;
  if (write(wake_, &one, sizeof one) < 0) {
    // The watching thread still ends: it sleeps at most a second.
  }
  watching_.join();
  for (auto& [id, t] : threads) t.join();
}

}  // namespace host
