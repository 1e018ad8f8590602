#include "host/serve/server/RequestStream.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace host {
namespace {

using Clock = RequestStream::Clock;

int millisecondsUntil(Clock::time_point until) {
  auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
  return static_cast<int>(std::clamp<long long>(left, 0, INT_MAX));
}

// Polls `socket` for `events` until `until`; the events seen, 0 when the time ran out.
short pollUntil(int socket, short events, Clock::time_point until) {
  for (;;) {
    pollfd p{socket, events, 0};
    int n = poll(&p, 1, millisecondsUntil(until));
    if (n > 0) return p.revents;
    if (n == 0 || errno != EINTR) return 0;
  }
}

void nameOf(int socket, bool peer, std::string& ip, int& port) {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  auto* a = reinterpret_cast<sockaddr*>(&address);
  if ((peer ? getpeername(socket, a, &length) : getsockname(socket, a, &length)) != 0) return;
  char host[NI_MAXHOST];
  char service[NI_MAXSERV];
  if (getnameinfo(a, length, host, sizeof host, service, sizeof service,
                  NI_NUMERICHOST | NI_NUMERICSERV) != 0)
    return;
  ip = host;
  port = std::atoi(service);
}

}  // namespace

RequestStream::RequestStream(int socket, std::string received, Clock::time_point deadline,
                             std::chrono::milliseconds writeTimeout)
    : socket_(socket),
      received_(std::move(received)),
      deadline_(deadline),
      writeTimeout_(writeTimeout) {}

bool RequestStream::is_readable() const {
  return offset_ < received_.size() || pollUntil(socket_, POLLIN, deadline_) != 0;
}

bool RequestStream::is_writable() const {
  short seen = pollUntil(socket_, POLLOUT | POLLRDHUP, Clock::now() + writeTimeout_);
  return (seen & POLLOUT) && !(seen & (POLLRDHUP | POLLHUP | POLLERR));
}

ssize_t RequestStream::read(char* ptr, size_t size) {
  if (offset_ == received_.size()) {
    received_.resize(4096);
    offset_ = 0;
    ssize_t n = 0;
    do {
      n = recv(socket_, received_.data(), received_.size(), MSG_DONTWAIT);
    } while (n < 0 && (errno == EAGAIN || errno == EINTR) &&
             pollUntil(socket_, POLLIN, deadline_) != 0);
    received_.resize(std::max<ssize_t>(n, 0));
    if (n <= 0) return n;
  }
  size_t n = std::min(size, received_.size() - offset_);
  std::memcpy(ptr, received_.data() + offset_, n);
  offset_ += n;
  return static_cast<ssize_t>(n);
}

ssize_t RequestStream::write(const char* ptr, size_t size) {
  const auto until = Clock::now() + writeTimeout_;
  for (;;) {
    ssize_t n = send(socket_, ptr, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n >= 0) return n;
    if (errno == EINTR) continue;
    if ((errno != EAGAIN && errno != EWOULDBLOCK) || pollUntil(socket_, POLLOUT, until) == 0)
      return -1;
  }
}

void RequestStream::get_remote_ip_and_port(std::string& ip, int& port) const {
  nameOf(socket_, true, ip, port);
}

void RequestStream::get_local_ip_and_port(std::string& ip, int& port) const {
  nameOf(socket_, false, ip, port);
}

socket_t RequestStream::socket() const {
  return socket_;
}

std::string RequestStream::unread() {
  std::string rest = received_.substr(offset_);
  received_.clear();
  offset_ = 0;
  return rest;
}

}  // namespace host
