// Where the preview server is reached. Its listening socket: bound to one address and port, or a
// failure that says why ("in use"); a second server on a port in use fails rather than sharing
// its clients, while a port that a server just stopped left in TIME_WAIT can be taken at once.
// And which Host headers it answers: a page elsewhere cannot reach it through a name of its own
// rebound to this machine's address, so only numeric addresses of this machine and `localhost`
// are taken. Thread-safe: HostCheck is read-only after construction.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/core/Result.h"

namespace host {

// "host:port" as a Host header and a URL name it: an IPv6 address in brackets.
std::string hostPort(const std::string& host, int port);

// A socket listening on `address` (numeric, or a name of this machine) and `port` (0: a free one),
// with room for many connections waiting to be accepted.
Result<int> openListeningSocket(const std::string& address, int port);
// The port a listening socket has.
int listeningPort(int socket);

// The numeric addresses of this machine's network interfaces, but loopback and link-local ones.
std::vector<std::string> machineAddresses();

class HostCheck {
 public:
  // Answers `listen` itself, `localhost`, 127.0.0.1 and [::1]; listening on every address
  // (0.0.0.0 or ::), also each of `machine` (for 0.0.0.0 only the IPv4 ones).
  HostCheck(const std::string& listen, int port, const std::vector<std::string>& machine);
  // Whether a Host header names this server (the port may be left out only for port 80).
  bool accepts(std::string_view host) const;
  // URLs a browser can open: one on this machine first, then those for other machines.
  const std::vector<std::string>& urls() const { return urls_; }
  // Listening on every address (0.0.0.0 or ::).
  bool everyAddress() const { return everyAddress_; }

 private:
  int port_;
  bool everyAddress_;
  std::vector<std::string> hosts_;  // lowercase, without the port
  std::vector<std::string> urls_;
};

}  // namespace host
