#include "host/serve/server/ServeAddress.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

namespace host {
namespace {

// Connections the kernel completes while the server is busy: with too few, a burst of clients
// waits for TCP's retransmissions (one second, then three, then seven).
constexpr int kBacklog = 1024;

std::string why(int error) {
  switch (error) {
    case EADDRINUSE:
      return "in use";
    case EADDRNOTAVAIL:
      return "not an address of this machine";
    case EACCES:
      return "not allowed (a port below 1024 needs privileges)";
    default:
      return std::strerror(error);
  }
}

bool isWildcard(const std::string& address) {
  return address == "0.0.0.0" || address == "::" || address == "[::]";
}

std::string lowercase(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

std::string hostPort(const std::string& host, int port) {
  bool v6 = host.find(':') != std::string::npos && host.front() != '[';
  return (v6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

Result<int> openListeningSocket(const std::string& address, int port) {
  const std::string where = "cannot listen on " + hostPort(address, port) + ": ";
  std::string bare = address;
  if (bare.size() > 2 && bare.front() == '[' && bare.back() == ']')
    bare = bare.substr(1, bare.size() - 2);
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  if (getaddrinfo(bare.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
    return Failure::runtime(where + why(EADDRNOTAVAIL));
  int error = EADDRNOTAVAIL;
  for (const addrinfo* a = found; a; a = a->ai_next) {
    int s = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
    if (s < 0) {
      error = errno;
      continue;
    }
    // SO_REUSEADDR lets a port in TIME_WAIT be bound again, yet not one another socket listens
    // on; SO_REUSEPORT would let a second server listen there too and take half the clients.
    int yes = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    // `::` takes IPv4 clients too, whatever the system's default: its IPv4 addresses are printed.
    int no = 0;
    if (a->ai_family == AF_INET6) setsockopt(s, IPPROTO_IPV6, IPV6_V6ONLY, &no, sizeof no);
    if (bind(s, a->ai_addr, a->ai_addrlen) == 0 && listen(s, kBacklog) == 0) {
      freeaddrinfo(found);
      return s;
    }
    error = errno;
    close(s);
  }
  freeaddrinfo(found);
  return Failure::runtime(where + why(error));
}

int listeningPort(int socket) {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) return -1;
  if (address.ss_family == AF_INET6)
    return ntohs(reinterpret_cast<sockaddr_in6*>(&address)->sin6_port);
  return ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
}

std::vector<std::string> machineAddresses() {
  std::vector<std::string> out;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return out;
  for (const ifaddrs* i = list; i; i = i->ifa_next) {
    if (!i->ifa_addr) continue;
    char text[INET6_ADDRSTRLEN] = {};
    if (i->ifa_addr->sa_family == AF_INET) {
      const auto* a = reinterpret_cast<const sockaddr_in*>(i->ifa_addr);
      if ((ntohl(a->sin_addr.s_addr) >> 24) == 127) continue;
      inet_ntop(AF_INET, &a->sin_addr, text, sizeof text);
    } else if (i->ifa_addr->sa_family == AF_INET6) {
      const auto* a = reinterpret_cast<const sockaddr_in6*>(i->ifa_addr);
      // Link-local addresses need a zone that a URL cannot carry to the browser.
      if (IN6_IS_ADDR_LOOPBACK(&a->sin6_addr) || IN6_IS_ADDR_LINKLOCAL(&a->sin6_addr)) continue;
      inet_ntop(AF_INET6, &a->sin6_addr, text, sizeof text);
    } else {
      continue;
    }
    if (std::find(out.begin(), out.end(), text) == out.end()) out.emplace_back(text);
  }
  freeifaddrs(list);
  return out;
}

HostCheck::HostCheck(const std::string& listen, int port, const std::vector<std::string>& machine)
    : port_(port), everyAddress_(isWildcard(listen)) {
  auto add = [&](const std::string& host) {
    std::string h = lowercase(hostPort(host, port));
    h.resize(h.rfind(':'));
    if (std::find(hosts_.begin(), hosts_.end(), h) == hosts_.end()) hosts_.push_back(h);
  };
  const bool v6 = listen.find(':') != std::string::npos;
  if (!everyAddress_) {
    urls_.push_back("http://" + hostPort(listen, port) + "/");
  } else {
    urls_.push_back("http://" + hostPort(v6 ? "::1" : "127.0.0.1", port) + "/");
    for (const auto& m : machine) {
      if (!v6 && m.find(':') != std::string::npos) continue;
      add(m);
      urls_.push_back("http://" + hostPort(m, port) + "/");
    }
  }
  for (const char* h : {"localhost", "127.0.0.1", "::1"}) add(h);
  add(listen);
}

bool HostCheck::accepts(std::string_view host) const {
  std::string h = lowercase(host);
  const std::size_t colon = h.rfind(':');
  const bool hasPort = colon != std::string::npos && h.find(']', colon) == std::string::npos;
  if (hasPort) {
    if (h.substr(colon + 1) != std::to_string(port_)) return false;
    h.resize(colon);
  } else if (port_ != 80) {
    return false;
  }
  return std::find(hosts_.begin(), hosts_.end(), h) != hosts_.end();
}

}  // namespace host
