// The preview server's connections from the moment they are accepted. A connection waits for its
// request on one thread that watches them all (epoll), holding no worker: only when the request's
// head and declared body have all come does it go, in the order requests became whole, to one of a
// fixed number of workers; after the answer it waits again for the next request. A request that is
// not whole by its deadline (counted from connecting, or from the answer before) is refused and its
// connection closed, so a client that sends slowly, or not at all, holds no worker, and one that is
// being answered holds one for no longer than its answer takes.
//
// A long-lived answer (an event stream) gives its worker up: another thread takes its place for
// as long as the stream lasts, so streams never leave fewer workers for requests.
//
// Thread-safe. stop() closes every connection and joins the threads; the destructor stops.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "host/serve/server/RequestHead.h"
#include "host/serve/server/RequestStream.h"

namespace host {

struct ConnectionLimits {
  std::size_t workers = 16;
  std::size_t streams = 32;       // long-lived answers at once, each on a thread of its own
  std::size_t connections = 512;  // open at once; beyond, the longest waiting is closed
  std::chrono::milliseconds deadline{5000};  // for a whole request
  std::chrono::milliseconds writeTimeout{5000};
  std::size_t requestsPerConnection = 100;
  RequestLimits request;
};

class Connections {
 public:
  // Answers the one request at the start of the stream; whether the connection may carry
  // another. `last`: it may not, whatever the request asks.
  using Answer = std::function<bool(RequestStream& stream, bool last)>;

  Connections(ConnectionLimits limits, Answer answer);
  ~Connections();
  Connections(const Connections&) = delete;
  Connections& operator=(const Connections&) = delete;

  // Takes an accepted socket and closes it when done with it.
  void admit(int socket);

  // Called by a worker whose answer goes on for long (an event stream): false when as many
  // streams as allowed are open; else another thread works in its place until streamEnds().
  bool streamBegins();
  void streamEnds();

  void stop();

 private:
  using Clock = RequestStream::Clock;
  struct Connection {
    int socket = -1;
    std::string received;
    Clock::time_point deadline;
    std::size_t needed = 0;  // the request's bytes, once its head is whole
    std::size_t answered = 0;
  };

  void await(Connection c);           // under mutex_
  void drop(int socket, int status);  // under mutex_: answers `status` (0: none) and closes
  void receive(int socket);           // under mutex_
  void watch();
  void work();
  void addWorker();      // under mutex_
  bool surplus() const;  // under mutex_

  const ConnectionLimits limits_;
  const Answer answer_;
  const int epoll_;
  const int wake_;  // an eventfd that wakes the watching thread to stop

  std::mutex mutex_;
  std::condition_variable ready_;      // a whole request waits, a worker is surplus, or stopping
  std::condition_variable room_;       // a connection closed
  std::map<int, Connection> waiting_;  // by socket
  std::deque<Connection> whole_;       // whole requests, oldest first
  std::set<int> answering_;
  std::size_t open_ = 0;
  std::size_t workers_ = 0;  // threads that work, streams included
  std::size_t streams_ = 0;
  bool stopping_ = false;
  std::map<std::thread::id, std::thread> threads_;
  std::vector<std::thread::id> finished_;
  std::thread watching_;
};

}  // namespace host
