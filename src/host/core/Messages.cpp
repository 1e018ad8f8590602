#include "host/core/Messages.h"

#include <cstdio>

namespace host {
namespace {

std::string messageLine(std::string_view message, std::string out = "tamsa-widgets: ") {
  static const char* kHex = "0123456789abcdef";
  for (unsigned char c : message) {
    if (c < 0x20 || c == 0x7f) {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\n";
}

}  // namespace

void printMessage(std::string_view message) {
  // One write, so that lines from threads at once do not interleave.
  std::string line = messageLine(message);
  std::fwrite(line.data(), 1, line.size(), stderr);
}

void printWarning(const Warning& warning) {
  if (warning.form == Warning::Form::named) return printMessage(warning.message);
  std::string line = messageLine(warning.message, "");
  std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace host
