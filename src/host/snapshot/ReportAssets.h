// The report page's style and swipe script, built into the program from the files in assets/.
#pragma once

#include <string_view>

namespace host {

std::string_view snapshotReportStyle();
std::string_view snapshotReportScript();

}  // namespace host
