// serve: the HTTP side of the preview. One page and its script and style, a small JSON interface
// over PreviewState, pictures by generated name and a server-sent event stream that says when the
// screen changed. Every request must name this server in its Host header (a page elsewhere
// cannot reach it through a name rebound to this address); changes must come as JSON, which a
// page elsewhere cannot send without asking first; sizes, headers, connections and time are
// bounded.
#include <httplib.h>
#include <signal.h>

#include <atomic>
#include <cstdio>
#include <set>

#include "host/serve/BoundedTaskQueue.h"
#include "host/serve/FolderWatcher.h"
#include "host/serve/PageAssets.h"
#include "host/serve/PreviewState.h"
#include "host/serve/ServeCommands.h"

namespace host {
namespace {

using nlohmann::json;

constexpr std::size_t kWorkers = 16;
constexpr std::size_t kQueuedConnections = 128;
constexpr std::size_t kMaxHeaders = 64;
constexpr std::size_t kMaxBody = 16 * 1024;
constexpr int kMaxEventStreams = 8;  // each holds a worker; the rest stay free for requests
constexpr time_t kTimeoutSeconds = 5;

// "host:port" as a Host header names it: an IPv6 address in brackets.
std::string hostPort(const std::string& host, int port) {
  bool v6 = host.find(':') != std::string::npos;
  return (v6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

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

void addRoutes(httplib::Server& server, PreviewState& state, std::atomic<int>& streams) {
  server.Get("/", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(previewPageHtml(), "text/html; charset=utf-8");
  });
  server.Get("/app.js", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(previewPageScript(), "text/javascript; charset=utf-8");
  });
  server.Get("/app.css", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(previewPageStyle(), "text/css; charset=utf-8");
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
    if (++streams > kMaxEventStreams) {
      --streams;
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
        [&streams](bool) { --streams; });
  });
}

// Only requests that name this server reach the routes.
void guardRequests(httplib::Server& server, const std::set<std::string>& hosts) {
  server.set_pre_routing_handler([hosts](const httplib::Request& req, httplib::Response& res) {
    if (req.headers.size() > kMaxHeaders) {
      res.status = 431;
      return httplib::Server::HandlerResponse::Handled;
    }
    if (req.get_header_value_count("Host") != 1) {
      res.status = 400;
      return httplib::Server::HandlerResponse::Handled;
    }
    if (!hosts.count(req.get_header_value("Host"))) {
      res.status = 403;
      res.set_content("unknown host\n", "text/plain");
      return httplib::Server::HandlerResponse::Handled;
    }
    return httplib::Server::HandlerResponse::Unhandled;
  });
}

void configure(httplib::Server& server) {
  server.new_task_queue = [] { return new BoundedTaskQueue(kWorkers, kQueuedConnections); };
  server.set_payload_max_length(kMaxBody);
  server.set_read_timeout(kTimeoutSeconds, 0);
  server.set_write_timeout(kTimeoutSeconds, 0);
  server.set_keep_alive_timeout(kTimeoutSeconds);
  server.set_keep_alive_max_count(100);
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

Outcome runServeCommand(const HostSession& session) {
  // Signals are taken by sigwait on this thread; every thread made from here on blocks them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  auto scenarios = loadScenarios(session.paths.scenarios, {"all"});
  if (!scenarios)
    std::fprintf(stderr, "tamsa-widgets: serve: no named states: %s\n",
                 scenarios.failure().message.c_str());
  PreviewState state(session, scenarios ? std::move(*scenarios) : std::vector<Scenario>{},
                     session.device.now());

  const ServeOptions& o = session.options.serve;
  httplib::Server server;
  configure(server);
  int port = o.port;
  if (port == 0) {
    port = server.bind_to_any_port(o.listen);
  } else if (!server.bind_to_port(o.listen, port)) {
    port = -1;
  }
  if (port < 0)
    return Failure::runtime("serve: cannot listen on " + hostPort(o.listen, o.port) +
                            " (in use, or not an address of this machine)");
  std::atomic<int> streams = 0;
  guardRequests(
      server, {hostPort(o.listen, port), hostPort("localhost", port), hostPort("127.0.0.1", port)});
  addRoutes(server, state, streams);

  auto watcher =
      FolderWatcher::start(watchedFolders(session.device), [&] { state.filesChanged(); });
  if (!watcher) return watcher.failure();

  std::thread listening([&] { server.listen_after_bind(); });
  std::printf("Serving the Tamsa widgets preview at http://%s/ (Ctrl-C stops)\n",
              hostPort(o.listen, port).c_str());
  std::fflush(stdout);
  int signal = 0;
  sigwait(&stopSignals, &signal);
  state.stop();
  server.stop();
  listening.join();
  return Done{};
}

}  // namespace host
