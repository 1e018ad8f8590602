# Writes a C++ source that holds one file's bytes and a function returning them:
#   cmake -DINPUT=<file> -DOUTPUT=<source> -DNAMESPACE=<namespace> -DFUNCTION=<name> -P EmbedFile.cmake
# The bytes end with a NUL the function leaves out, so an empty file makes a valid array too.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f])"
       "\\1\n    " hex "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1, " bytes "${hex}")
string(REGEX REPLACE " \n" "\n" bytes "${bytes}")
set(source "// Made from ${INPUT} when it changes; edit that file, not this one.
#include <string_view>

namespace ${NAMESPACE} {
namespace {
constexpr unsigned char kBytes[] = {
    ${bytes}0x00};
}  // namespace

std::string_view ${FUNCTION}() {
  return {reinterpret_cast<const char*>(kBytes), ${size}};
}

}  // namespace ${NAMESPACE}
")

file(WRITE "${OUTPUT}" "${source}")
