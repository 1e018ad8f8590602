// How the system's control gallery shows a button control: a round button holding its symbol,
// with the title under it. The host has no symbol font, so "plus" is drawn as a shape; other
// symbols as an outlined square.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <variant>

#include "host/render/PangoTextMeasurer.h"
#include "platform/swiftui/Color.h"

namespace host {

struct ControlPictureRequest {
  std::string title;
  std::string systemImage;
  swiftui::ColorScheme appearance = swiftui::ColorScheme::light;
  double scale = 2;
  std::string outputPath;  // .png, .svg or .pdf
};

// Draws the control; returns the layout report of what was drawn, or an error message.
std::variant<nlohmann::json, std::string> drawControlPicture(
    const ControlPictureRequest& request, const render::PangoTextMeasurer& measurer);

}  // namespace host
