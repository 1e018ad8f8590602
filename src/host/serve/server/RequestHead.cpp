#include "host/serve/server/RequestHead.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace host {
namespace {

RequestHead refused(int status) {
  return {RequestHead::Kind::refused, status, 0};
}

bool sameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

}  // namespace

RequestHead examineRequest(std::string_view bytes, const RequestLimits& limits) {
  // The head ends with an empty line (CRLF); the request line itself may end in a bare LF. Lines
  // are judged as they come, so too many headers are refused before the head is whole.
  const std::size_t lastLineEnd = bytes.find("\n\r\n");
  const bool whole = lastLineEnd != std::string_view::npos;
  const std::size_t headLength = whole ? lastLineEnd + 3 : bytes.size();
  if (headLength > limits.headBytes || (!whole && headLength >= limits.headBytes))
    return refused(431);
  const std::size_t linesEnd = whole ? lastLineEnd : bytes.rfind('\n');

  std::size_t headers = 0;
  std::size_t bodyLength = 0;
  bool lengthSeen = false;
  for (std::size_t at = bytes.find('\n') + 1;
       linesEnd != std::string_view::npos && at <= linesEnd;) {
    const std::size_t end = bytes.find('\n', at);
    const std::string_view line = bytes.substr(at, end - at);
    at = end + 1;
    if (++headers > limits.headers) return refused(431);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string_view name = line.substr(0, colon);
    const std::string_view value = trimmed(line.substr(colon + 1));
    // Only bodies of a declared length are taken: their end is known before a worker reads them.
    if (sameName(name, "Transfer-Encoding")) return refused(411);
    if (!sameName(name, "Content-Length") || lengthSeen) continue;
    lengthSeen = true;
    if (value.empty() || value.size() > 18 ||
        !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return refused(400);
    bodyLength = std::stoull(std::string(value));
    if (bodyLength > limits.body) return refused(413);
  }
  if (!whole) return {};
  // Without a length the library would read a body until the connection ends.
  const std::string_view method = bytes.substr(0, bytes.find(' '));
  if (!lengthSeen && method != "GET" && method != "HEAD" && method != "OPTIONS")
    return refused(411);
  const std::size_t length = headLength + bodyLength;
  return {bytes.size() < length ? RequestHead::Kind::partial : RequestHead::Kind::whole, 0, length};
}

std::string_view refusal(int status) {
  switch (status) {
    case 400:
      return "HTTP/1.1 400 Bad Request\r\nConnection: close\r\nContent-Length: 0\r\n\r\n";
    case 408:
      return "HTTP/1.1 408 Request Timeout\r\nConnection: close\r\nContent-Length: 0\r\n\r\n";
    case 411:
      return "HTTP/1.1 411 Length Required\r\nConnection: close\r\nContent-Length: 0\r\n\r\n";
    case 413:
      return "HTTP/1.1 413 Payload Too Large\r\nConnection: close\r\nContent-Length: 0\r\n\r\n";
    default:
      return "HTTP/1.1 431 Request Header Fields Too Large\r\nConnection: close\r\n"
             "Content-Length: 0\r\n\r\n";
  }
}

}  // namespace host
