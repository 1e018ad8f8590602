// render: one widget or the control to a picture file, with its layout report when asked.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "host/core/CommandLine.h"
#include "host/core/HostSession.h"

namespace host {

struct RenderOptions {
  std::string kind;
  DrawingOptions drawing;
  std::filesystem::path output;                 // the picture
  std::optional<std::filesystem::path> layout;  // the layout report
};

std::vector<CommandRow> renderCommands();

Outcome runRenderCommand(const HostSession& session, const RenderOptions& options);

}  // namespace host
