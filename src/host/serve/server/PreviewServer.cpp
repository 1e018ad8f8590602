// The preview server: the HTTP side of the preview. One page and its script and style, a small JSON
// interface over PreviewState, pictures by generated name and a server-sent event stream that says
// when the screen changed. Every request must name this server in its Host header (a page elsewhere
// cannot reach it through a name rebound to this address); changes must come as JSON, which a
// page elsewhere cannot send without asking first; sizes, headers, connections and time are
// bounded. The HTTP library parses and routes requests; Connections decides when a connection
// gets a worker.
#include <httplib.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <thread>

#include "host/core/InputFiles.h"
#include "host/serve/server/Connections.h"
#include "host/serve/server/FolderWatcher.h"
#include "host/serve/server/PageAssets.h"
#include "host/serve/server/PreviewServer.h"
#include "host/serve/server/PreviewState.h"
#include "host/serve/server/ServeAddress.h"

namespace host {
namespace {

using nlohmann::json;

// The HTTP library's parsing and routing over connections of our own: the library's accepting
// thread hands each socket to Connections instead of serving it on a worker of its own, and a
// worker answers one whole request at a time.
class PreviewHttpServer final : public httplib::Server {
 public:
  explicit PreviewHttpServer(const ConnectionLimits& limits)
      : connections_(limits, [this](RequestStream& stream, bool last) {
          bool closed = false;
          return process_request(stream, last, closed, nullptr) && !closed && !last;
        }) {
    new_task_queue = [] { return new AtOnce; };
  }
  ~PreviewHttpServer() override { shutDown(); }

  Connections& connections() { return connections_; }

  // Accepts on `socket` (from openListeningSocket, now owned) on a thread of its own.
  void start(int socket) {
    svr_sock_ = socket;
    accepting_ = std::thread([this] { listen_after_bind(); });
  }

  // Stops accepting, ends every connection and joins the threads.
  void shutDown() {
    socket_t socket = svr_sock_.exchange(INVALID_SOCKET);
    if (socket == INVALID_SOCKET) return;
    ::shutdown(socket, SHUT_RDWR);  // wakes the accepting thread
    connections_.stop();            // and frees it if it waits for room
    if (accepting_.joinable()) accepting_.join();
    ::close(socket);
  }

 private:
  struct AtOnce final : httplib::TaskQueue {
    void enqueue(std::function<void()> job) override { job(); }
    void shutdown() override {}
  };

  bool process_and_close_socket(socket_t socket) override {
    connections_.admit(socket);
    return true;
  }

  Connections connections_;
  std::thread accepting_;
};

void sendJson(httplib::Response& res, const json& body, int status = 200) {
  res.status = status;
  res.set_content(body.dump(), "application/json");
}

void sendFailure(httplib::Response& res, const Failure& f) {
  sendJson(res, {{"error", f.message}}, f.status == ExitStatus::usage ? 400 : 500);
}

// A change must be a JSON object sent as JSON.
std::optional<json> jsonBody(const httplib::Request& req, httplib::Response& res) {
  if (req.get_header_value("Content-Type").rfind("application/json", 0) != 0) {
    sendJson(res, {{"error", "send JSON"}}, 415);
    return std::nullopt;
  }
  json body = json::parse(req.body, nullptr, false);
  if (!body.is_object()) {
    sendJson(res, {{"error", "not a JSON object"}}, 400);
    return std::nullopt;
  }
  return body;
}

// The folders whose changes show: the container's, and the string tables'.
std::vector<std::string> watchedFolders(const device::Device& d) {
  const std::string c = d.appGroupContainer;
  std::vector<std::string> out = {c, c + "/Library", c + "/Library/Preferences"};
  const std::string resources = d.mainBundle.bundlePath();
  out.push_back(resources);
  for (const auto& l : d.mainBundle.localizations()) out.push_back(resources + "/" + l + ".lproj");
  return out;
}

void addRoutes(httplib::Server& server, PreviewState& state, Connections& connections) {
  server.Get("/", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(std::string(previewPageHtml()), "text/html; charset=utf-8");
  });
  server.Get("/app.js", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(std::string(previewPageScript()), "text/javascript; charset=utf-8");
  });
  server.Get("/app.css", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(std::string(previewPageStyle()), "text/css; charset=utf-8");
  });
  server.Get("/api/state", [&](const httplib::Request&, httplib::Response& res) {
    sendJson(res, state.describe());
  });
  server.Get("/api/screen", [&](const httplib::Request&, httplib::Response& res) {
    sendJson(res, state.screen());
  });
  server.Get(R"(/picture/(v[0-9]{1,19}-[0-9]{1,4}\.png))",
             [&](const httplib::Request& req, httplib::Response& res) {
               auto bytes = state.picture(req.matches[1]);
               if (!bytes) {
                 res.status = 404;
                 return;
               }
               res.set_content(*bytes, "image/png");
             });
  server.Post("/api/settings", [&](const httplib::Request& req, httplib::Response& res) {
    auto body = jsonBody(req, res);
    if (!body) return;
    if (auto r = state.change(*body); !r) return sendFailure(res, r.failure());
    sendJson(res, state.describe());
  });
  server.Post("/api/clock", [&](const httplib::Request& req, httplib::Response& res) {
    auto body = jsonBody(req, res);
    if (!body) return;
    std::string move = body->value("move", "");
    std::string at = body->value("at", "");
    Result<Done> r = Failure::usage("clock: move is hour, day or set");
    if (move == "hour") r = state.moveClock(ClockMove::hour, "");
    if (move == "day") r = state.moveClock(ClockMove::day, "");
    if (move == "set") r = state.moveClock(ClockMove::set, at);
    if (!r) return sendFailure(res, r.failure());
    sendJson(res, state.describe());
  });
  server.Post("/api/reload", [&](const httplib::Request& req, httplib::Response& res) {
    if (!jsonBody(req, res)) return;
    state.reloadTimelines();
    sendJson(res, state.describe());
  });
  server.Post("/api/perform", [&](const httplib::Request& req, httplib::Response& res) {
    if (!jsonBody(req, res)) return;
    auto url = state.perform();
    if (!url) return sendFailure(res, url.failure());
    sendJson(res, {{"url", *url}});
  });
  server.Get("/events", [&](const httplib::Request&, httplib::Response& res) {
    // A stream lasts as long as the page: it gives its worker up to another thread.
    if (!connections.streamBegins()) {
      res.status = 503;
      return;
    }
    auto seen = std::make_shared<std::uint64_t>(0);
    res.set_header("Cache-Control", "no-store");
    res.set_chunked_content_provider(
        "text/event-stream",
        [&state, seen](std::size_t, httplib::DataSink& sink) {
          if (state.stopped()) return false;
          std::uint64_t now = state.waitForChange(*seen, std::chrono::seconds(10));
          if (state.stopped() || !sink.is_writable()) return false;
          std::string message =
              now == *seen ? ": still here\n\n" : "data: " + std::to_string(now) + "\n\n";
          *seen = now;
          return sink.write(message.data(), message.size());
        },
        [&connections](bool) { connections.streamEnds(); });
  });
}

// Only requests that name this server reach the routes. (Header count, head and body sizes are
// bounded before a request reaches a worker.)
void guardRequests(httplib::Server& server, HostCheck hosts) {
  server.set_pre_routing_handler([hosts](const httplib::Request& req, httplib::Response& res) {
    if (req.get_header_value_count("Host") != 1) {
      res.status = 400;
      return httplib::Server::HandlerResponse::Handled;
    }
    if (!hosts.accepts(req.get_header_value("Host"))) {
      res.status = 403;
      res.set_content("unknown host\n", "text/plain");
      return httplib::Server::HandlerResponse::Handled;
    }
    return httplib::Server::HandlerResponse::Unhandled;
  });
}

void configure(httplib::Server& server, const ConnectionLimits& limits) {
  server.set_payload_max_length(limits.request.body);
  // Only said in the answers' Keep-Alive header: Connections keeps the time.
  server.set_keep_alive_timeout(std::chrono::ceil<std::chrono::seconds>(limits.deadline).count());
  server.set_keep_alive_max_count(limits.requestsPerConnection);
  server.set_default_headers(
      {{"X-Content-Type-Options", "nosniff"},
       {"X-Frame-Options", "DENY"},
       {"Referrer-Policy", "no-referrer"},
       {"Content-Security-Policy", "default-src 'self'; img-src 'self'; frame-ancestors 'none'"},
       {"Cache-Control", "no-store"}});
  server.set_exception_handler([](const httplib::Request&, httplib::Response& res,
                                  std::exception_ptr) { res.status = 500; });
}

}  // namespace

Outcome runPreviewServer(const HostSession& session, const ServeOptions& o) {
  // Signals are taken by sigwait on this thread; every thread made from here on blocks them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  auto socket = openListeningSocket(o.listen, o.port);
  if (!socket) return Failure::runtime("serve: " + socket.failure().message);
  const int port = listeningPort(*socket);

  auto home = loadHomeScreen(*session.files, o.look);
  if (!home) return home.failure();
  auto scenarios = loadScenarios(*session.files, session.paths.scenarios, {"all"});
  if (!scenarios) session.warn({"serve: no named states: " + scenarios.failure().message});
  PreviewState state(session, o.look, scenarios ? std::move(*scenarios) : std::vector<Scenario>{},
                     session.device.now(), *home);

  const ConnectionLimits limits;
  PreviewHttpServer server(limits);
  configure(server, limits);
  const HostCheck hosts(o.listen, port, machineAddresses());
  guardRequests(server, hosts);
  addRoutes(server, state, server.connections());

  auto watcher =
      FolderWatcher::start(watchedFolders(session.device), [&] { state.filesChanged(); });
  if (!watcher) {
    ::close(*socket);
    return watcher.failure();
  }

  server.start(*socket);
  std::printf("Serving the Tamsa widgets preview at %s (Ctrl-C stops)\n", hosts.urls()[0].c_str());
  if (hosts.everyAddress()) {  // the URLs that other machines use, or why there are none
    std::string others;
    for (std::size_t i = 1; i < hosts.urls().size(); ++i) others += " " + hosts.urls()[i];
    std::printf("From other machines:%s\n",
                others.empty() ? " none (no network address)" : others.c_str());
  }
  std::fflush(stdout);
  int signal = 0;
  sigwait(&stopSignals, &signal);
  state.stop();
  server.shutDown();
  return Done{};
}

}  // namespace host
