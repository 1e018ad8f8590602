// A connection's socket as the HTTP library reads and writes it while a worker answers one
// request: the bytes the connection has already received come first. Reading waits no later than
// the request's deadline (one deadline for the whole request, not a time-out per read); writing
// waits at most a time-out per write. Used by one worker at a time; not thread-safe.
#pragma once

#include <httplib.h>

#include <chrono>
#include <string>

namespace host {

class RequestStream final : public httplib::Stream {
 public:
  using Clock = std::chrono::steady_clock;

  RequestStream(int socket, std::string received, Clock::time_point deadline,
                std::chrono::milliseconds writeTimeout);

  bool is_readable() const override;
  // False once the client has hung up: a long answer then stops at its next piece.
  bool is_writable() const override;
  ssize_t read(char* ptr, size_t size) override;
  ssize_t write(const char* ptr, size_t size) override;
  void get_remote_ip_and_port(std::string& ip, int& port) const override;
  void get_local_ip_and_port(std::string& ip, int& port) const override;
  socket_t socket() const override;

  // The bytes received and not yet read: the start of the connection's next request.
  std::string unread();

 private:
  int socket_;
  std::string received_;
  std::size_t offset_ = 0;
  Clock::time_point deadline_;
  std::chrono::milliseconds writeTimeout_;
};

}  // namespace host
