// The preview page, built into the program: its HTML, script and style. Nothing is fetched from
// elsewhere; the script asks this server for the choices, the screen and its pictures.
#pragma once

namespace host {

const char* previewPageHtml();
const char* previewPageScript();
const char* previewPageStyle();

}  // namespace host
