// The wallet-count format, as a translator may write it: the first byte gives the count's length,
// then the count's bytes, then the format. Only %@, %1$@ and %% are interpreted, so the result is
// what the C library's printf makes of the same format with %s for the object and every other "%"
// doubled, whenever printf could take it with one argument.
#include <cstdio>
#include <cstring>

#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "platform/foundation/StringFormat.h"

namespace tamsa_fuzz {

void fuzzWalletCountFormat(std::string_view data) {
  if (data.empty()) return;
  std::size_t length =
      std::min<std::size_t>(static_cast<unsigned char>(data[0]) % 24, data.size() - 1);
  std::int64_t count = 0;
  std::memcpy(&count, data.data() + 1, std::min(length, sizeof count));
  const std::string_view format = data.substr(1 + length);
  const std::string argument = std::to_string(count);
  const std::string out = foundation::formatWithStringArgument(format, argument);
  if (format.find('\0') != std::string_view::npos) return;

  std::string printfFormat;
  int plain = 0, positional = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    std::string_view rest = format.substr(i);
    if (rest.starts_with("%%")) {
      printfFormat += "%%", ++i;
    } else if (rest.starts_with("%@")) {
      printfFormat += "%s", ++i, ++plain;
    } else if (rest.starts_with("%1$@")) {
      printfFormat += "%1$s", i += 3, ++positional;
    } else {
      printfFormat += format[i] == '%' ? "%%" : std::string(1, format[i]);
    }
  }
  if (plain > 1 || (plain && positional)) return;
  int n = std::snprintf(nullptr, 0, printfFormat.c_str(), argument.c_str());
  std::string expected(static_cast<std::size_t>(n), '\0');  // snprintf ends it in the spare NUL
  std::snprintf(expected.data(), expected.size() + 1, printfFormat.c_str(), argument.c_str());
  FUZZ_CHECK(out == expected);
}

}  // namespace tamsa_fuzz
