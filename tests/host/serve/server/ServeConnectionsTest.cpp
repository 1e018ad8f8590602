// The preview server's connections before the HTTP library sees them: which bytes make a whole
// request (fed the tricks a client can play with the head's end, its length and its headers), and
// a listening socket that holds a burst of clients while the server is busy.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "host/serve/server/Connections.h"
#include "host/serve/server/RequestHead.h"
#include "host/serve/server/ServeAddress.h"

namespace {

using host::RequestHead;
using Kind = RequestHead::Kind;

RequestHead examine(const std::string& bytes) {
  return host::examineRequest(bytes, {});
}

std::string headers(int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += "X-" + std::to_string(i) + ": a\r\n";
  return out;
}

TEST(ServeRequestHead, WholeOnlyWhenTheHeadAndItsDeclaredBodyHaveCome) {
  const std::string get = "GET / HTTP/1.1\r\nHost: a\r\n\r\n";
  EXPECT_EQ(examine(get), (RequestHead{Kind::whole, 0, get.size()}));
  EXPECT_EQ(examine(get + "GET /next"), (RequestHead{Kind::whole, 0, get.size()}));
  EXPECT_EQ(examine("GET / HTTP/1.1\r\nHost: a\r\n\r"), RequestHead{});
  EXPECT_EQ(examine("GET / HTTP/1.1\r\nHost: a\r\n\n"), RequestHead{});  // a bare LF ends nothing
  EXPECT_EQ(examine("GET / HTTP/1.1\n\r\n").kind, Kind::whole);  // a request line may end in LF
  const std::string post = "POST /x HTTP/1.1\r\ncOnTeNt-LeNgTh:  5 \r\n\r\n";
  EXPECT_EQ(examine(post + "1234"), (RequestHead{Kind::partial, 0, post.size() + 5}));
  EXPECT_EQ(examine(post + "12345"), (RequestHead{Kind::whole, 0, post.size() + 5}));
  // The first length counts, as the library reads it; a later one cannot make it wait less.
  const std::string twice = "POST /x HTTP/1.1\r\nContent-Length: 3\r\nContent-Length: 0\r\n\r\n";
  EXPECT_EQ(examine(twice), (RequestHead{Kind::partial, 0, twice.size() + 3}));
}

TEST(ServeRequestHead, RefusesWhatWouldMakeAWorkerWait) {
  EXPECT_EQ(examine("GET / HTTP/1.1\r\n" + headers(64) + "\r\n").kind, Kind::whole);
  EXPECT_EQ(examine("GET / HTTP/1.1\r\n" + headers(65) + "\r\n").status, 431);
  EXPECT_EQ(examine("GET / HTTP/1.1\r\n" + headers(65)).status, 431);  // not even whole yet
  EXPECT_EQ(examine("GET / HTTP/1.1\r\nX: " + std::string(40000, 'a')).status, 431);
  EXPECT_EQ(examine("POST / HTTP/1.1\r\nContent-Length: 16385\r\n\r\n").status, 413);
  EXPECT_EQ(examine("POST / HTTP/1.1\r\nContent-Length: 99999999999999999999\r\n\r\n").status, 400);
  EXPECT_EQ(examine("POST / HTTP/1.1\r\nContent-Length: -1\r\n\r\n").status, 400);
  EXPECT_EQ(examine("POST / HTTP/1.1\r\nContent-Length: 0x10\r\n\r\n").status, 400);
  EXPECT_EQ(examine("POST / HTTP/1.1\r\ntransfer-encoding: chunked\r\n\r\n5\r\n").status, 411);
  EXPECT_EQ(examine("POST / HTTP/1.1\r\nHost: a\r\n\r\n").status, 411);
}

// Listening on every IPv6 address takes IPv4 clients too, whatever the system's default.
TEST(ServeListeningSocket, HoldsABurstOfClientsTheServerHasNotAcceptedYet) {
  auto listener = host::openListeningSocket("::", 0);
  if (!listener) listener = host::openListeningSocket("127.0.0.1", 0);  // a machine without IPv6
  ASSERT_TRUE(listener) << listener.failure().message;
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(host::listeningPort(*listener));
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::vector<int> clients;
  for (int i = 0; i < 100; ++i) {
    clients.push_back(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
    connect(clients.back(), reinterpret_cast<sockaddr*>(&to), sizeof to);
  }
  // A client the backlog has no room for waits for TCP to retry: a second, then three, then seven.
  tcp_info info{};
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  do {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    socklen_t length = sizeof info;
    getsockopt(*listener, IPPROTO_TCP, TCP_INFO, &info, &length);
  } while (info.tcpi_unacked < 100 && std::chrono::steady_clock::now() < giveUp);
  EXPECT_EQ(info.tcpi_unacked, 100u);  // connections waiting to be accepted
  for (int c : clients) close(c);
  close(*listener);
}

// A client that stops sending before its request is whole is closed without an answer: it can
// no longer read one, and no worker ever sees it.
TEST(ServeConnections, AClientThatHangsUpMidRequestIsClosedUnanswered) {
  bool answered = false;
  host::Connections connections({}, [&](host::RequestStream&, bool) { return answered = true; });
  int ends[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
  connections.admit(ends[0]);
  const std::string part = "GET / HTTP/1.1\r\nHost: a\r\n";
  ASSERT_EQ(write(ends[1], part.data(), part.size()), static_cast<ssize_t>(part.size()));
  shutdown(ends[1], SHUT_WR);
  char reply[64];
  EXPECT_EQ(read(ends[1], reply, sizeof reply), 0);  // closed, nothing said
  close(ends[1]);
  connections.stop();
  EXPECT_FALSE(answered);
}

// A client that stops reading fills its socket; a write then fails after its time-out (the HTTP
// library writes again for as long as a write makes no error, so "nothing written" would spin).
TEST(ServeConnections, AWriteToAClientThatStopsReadingFailsInTime) {
  int ends[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
  host::RequestStream stream(ends[0], "", host::RequestStream::Clock::now(),
                             std::chrono::milliseconds(20));
  const std::string chunk(1 << 16, 'x');
  ssize_t n = 0;
  int writes = 0;
  do n = stream.write(chunk.data(), chunk.size());
  while (n > 0 && ++writes < 1000);
  EXPECT_EQ(n, -1);
  close(ends[0]);
  close(ends[1]);
}

}  // namespace

// The Host header is the guard against a page that rebinds its own name to this machine: only
// this server's numeric addresses and localhost pass, with the port it listens on.
TEST(ServeHostCheck, AnswersOnlyItsOwnNamesAndPort) {
  const std::vector<std::string> machine = {"192.168.1.5", "2001:db8::5"};
  const host::HostCheck loopback("127.0.0.1", 8080, machine);
  EXPECT_FALSE(loopback.everyAddress());
  for (const char* own : {"127.0.0.1:8080", "LocalHost:8080", "[::1]:8080"})
    EXPECT_TRUE(loopback.accepts(own)) << own;
  for (const char* other :
       {"evil.example:8080", "127.0.0.1:8081", "127.0.0.1", "127.0.0.1:08080", "localhost.:8080",
        "127.0.0.1:8080.evil.example", "192.168.1.5:8080", "[::1]", "", ":8080"})
    EXPECT_FALSE(loopback.accepts(other)) << other;

  // Every address: the machine's own too, IPv6 ones only when listening on IPv6.
  for (const char* every : {"::", "[::]", "0.0.0.0"}) {
    const host::HostCheck all(every, 8080, machine);
    EXPECT_TRUE(all.everyAddress()) << every;
    EXPECT_TRUE(all.accepts("192.168.1.5:8080")) << every;
    EXPECT_EQ(all.accepts("[2001:db8::5]:8080"), std::string(every) != "0.0.0.0") << every;
    EXPECT_FALSE(all.accepts("192.168.1.6:8080")) << every;
  }
  // On port 80 a browser leaves the port out.
  EXPECT_TRUE(host::HostCheck("127.0.0.1", 80, {}).accepts("localhost"));
}
