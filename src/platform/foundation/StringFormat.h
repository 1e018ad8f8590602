// String(format:_:) with one string-object argument, the way a translated format may safely be
// used: only "%@" and "%1$@" (the argument) and "%%" (a percent sign) are interpreted. Every other
// conversion is left exactly as written, so a bad translation can never read beyond the one
// argument.
#pragma once

#include <string>
#include <string_view>

namespace foundation {

std::string formatWithStringArgument(std::string_view format, std::string_view argument);

// The length of the conversion that starts with the "%" at `at`, as printf would read it: "%%",
// "%@", "%1$@", "%-5.2lf"; a "%" at the end is one character long.
std::size_t formatConversionLength(std::string_view text, std::size_t at);

}  // namespace foundation
