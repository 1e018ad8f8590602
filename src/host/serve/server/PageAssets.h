// The preview page, built into the program from the files in assets/: its HTML, script and style.
// Nothing is fetched from elsewhere; the script asks this server for the choices, the screen and
// its pictures.
#pragma once

#include <string_view>

namespace host {

std::string_view previewPageHtml();
std::string_view previewPageScript();
std::string_view previewPageStyle();

}  // namespace host
