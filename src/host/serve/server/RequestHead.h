// Whether the bytes a client has sent so far make a whole request, judged before any worker reads
// them: the head ends at its first empty line and a body is as long as its Content-Length. A
// request the preview server will not take (too many headers, a body too long or of no declared
// length) is refused here with its status, so that no worker ever waits for a client's bytes.
// Pure functions.
#pragma once

#include <cstddef>
#include <string_view>

namespace host {

struct RequestLimits {
  std::size_t headBytes = 32 * 1024;  // request line and headers
  std::size_t headers = 64;           // header lines, as the client sent them
  std::size_t body = 16 * 1024;
};

struct RequestHead {
  enum class Kind { partial, whole, refused };
  Kind kind = Kind::partial;
  int status = 0;  // refused: the HTTP status to answer
  // The bytes of the head and body, once the head is whole (a partial request awaits its body).
  std::size_t length = 0;
  bool operator==(const RequestHead&) const = default;
};

// Examines the bytes at the start of a connection's unread input.
RequestHead examineRequest(std::string_view bytes, const RequestLimits& limits);

// The whole answer, closing the connection, that refuses a request with `status`.
std::string_view refusal(int status);

}  // namespace host
