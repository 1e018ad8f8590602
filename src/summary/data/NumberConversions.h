// The two conversions of numbers the host application stores as text.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tamsa {

// A signed decimal integer in 64-bit range: an optional single "+" or "-", then one or more ASCII
// digits, nothing else. Nothing for any other text or on overflow.
std::optional<std::int64_t> integerFromText(std::string_view text);

// The C library's text-to-double in the C locale, over the whole text: nothing when the text is
// empty, starts with white space (code points 9 to 13 and 32), or has characters left over.
std::optional<double> doubleFromText(std::string_view text);

}  // namespace tamsa
