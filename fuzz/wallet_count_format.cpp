// The wallet-count format, as a translator may write it. Only %@, %1$@ and %% are interpreted:
// the count appears at most once per "@" of the format, a format without those conversions comes
// back unchanged, the result is what the C library's printf makes of the same format with %s for
// the object, and the label the loader builds from a table is exactly that text.
#include <cstdio>
#include <cstring>

#include "FuzzCheck.h"
#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "platform/foundation/StringFormat.h"
#include "platform/foundation/Unicode.h"
#include "summary/data/SummaryLoader.h"

namespace tamsa_fuzz {
namespace {

std::size_t occurrences(std::string_view text, std::string_view what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string_view::npos;
       at = text.find(what, at + what.size()))
    ++n;
  return n;
}

// The format for printf: the object conversions as %s, every other "%" doubled so printf prints it
// as written. Nothing when printf could not take it with one argument: two plain conversions, or
// plain and positional ones mixed.
std::optional<std::string> printfFormat(std::string_view format) {
  std::string out;
  bool positional = false;
  int plain = 0;
  for (std::size_t i = 0; i < format.size();) {
    std::string_view rest = format.substr(i);
    if (rest.starts_with("%%")) {
      out += "%%";
      i += 2;
    } else if (rest.starts_with("%@")) {
      out += "%s";
      ++plain;
      i += 2;
    } else if (rest.starts_with("%1$@")) {
      out += "%1$s";
      positional = true;
      i += 4;
    } else if (format[i] == '%') {
      out += "%%";
      ++i;
    } else {
      out += format[i++];
    }
  }
  if (plain > 1 || (positional && plain > 0)) return std::nullopt;
  return out;
}

}  // namespace

void fuzzWalletCountFormat(std::string_view data) {
  if (data.empty()) return;
  std::size_t countLength =
      std::min<std::size_t>(static_cast<unsigned char>(data[0]) % 24, data.size() - 1);
  std::string_view countBytes = data.substr(1, countLength);
  std::string_view format = data.substr(1 + countLength);

  // A marker the format does not hold stands for the argument, so its copies can be counted.
  const std::string marker = "\x01";
  if (format.find(marker) == std::string_view::npos) {
    std::string out = foundation::formatWithStringArgument(format, marker);
    FUZZ_CHECK(occurrences(out, marker) <= occurrences(format, "@")) << printable(format);
    FUZZ_CHECK(occurrences(out, "%") <= occurrences(format, "%")) << printable(format);
    if (format.find("%@") == std::string_view::npos &&
        format.find("%1$@") == std::string_view::npos &&
        format.find("%%") == std::string_view::npos) {
      FUZZ_CHECK(out == format) << printable(format) << " became " << printable(out);
    }
  }

  // The count as the loader writes it, and the platform's printf of the same format.
  std::int64_t count = 0;
  std::memcpy(&count, countBytes.data(), std::min(countBytes.size(), sizeof count));
  const std::string countText = std::to_string(count);
  const std::string out = foundation::formatWithStringArgument(format, countText);
  if (format.find('\0') == std::string_view::npos) {
    if (auto pf = printfFormat(format)) {
      int n = std::snprintf(nullptr, 0, pf->c_str(), countText.c_str());
      std::string expected(static_cast<std::size_t>(std::max(n, 0)) + 1, '\0');
      std::snprintf(expected.data(), expected.size(), pf->c_str(), countText.c_str());
      expected.resize(static_cast<std::size_t>(std::max(n, 0)));
      FUZZ_CHECK(out == expected) << printable(format) << " gave " << printable(out) << ", printf "
                                  << printable(expected);
    }
  }

  // Through a string table and the loader's wallet label.
  if (!foundation::unicode::isValidUtf8(format)) return;
  auto labels = englishLabels();
  labels["widget_wallets_count"] = std::string(format);
  auto label =
      tamsa::makeWalletLabel(memoryDevice(std::nullopt, {{"en", labels}}), "multi", "Cash", count);
  FUZZ_CHECK(label == out) << printable(format) << " gave the label " << printable(label);
}

}  // namespace tamsa_fuzz
