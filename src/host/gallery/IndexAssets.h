// The index page's style and filter script, built into the program from the files in assets/.
#pragma once

#include <string_view>

namespace host {

std::string_view galleryIndexStyle();
std::string_view galleryIndexScript();

}  // namespace host
