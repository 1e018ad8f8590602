#include "host/system/RenderRequest.h"

#include "drawing/LayoutReport.h"

namespace host {

RenderResult renderWidget(const RenderRequest& request,
                          const drawing::PangoTextMeasurer& measurer) {
  RenderResult result;
  if (!(request.scale >= 1 && request.scale <= 3)) {
    result.error = drawing::RenderError{"the scale must be between 1 and 3"};
    return result;
  }
  SceneRequest sceneRequest{
      request.view,        request.family, request.appearance,           request.systemVersion,
      request.device,      request.scale,  request.localizedKeyResolver, request.language,
      request.textLanguage};
  auto composed = composeScene(sceneRequest, measurer);
  if (auto* error = std::get_if<drawing::RenderError>(&composed)) {
    result.error = *error;
    return result;
  }
  result.scene = std::get<drawing::WidgetScene>(std::move(composed));
  result.report = drawing::layoutReport(*result.scene, request.scale);
  if (request.pictureFormat) {
    auto encoded =
        drawing::encodePicture(*result.scene, *request.pictureFormat, request.scale, measurer);
    if (auto* error = std::get_if<drawing::RenderError>(&encoded))
      result.error = *error;
    else {
      auto& picture = std::get<drawing::EncodedPicture>(encoded);
      result.picture = std::move(picture.bytes);
      result.pixels = std::move(picture.pixels);
    }
  }
  return result;
}

RenderResult renderWidget(const RenderRequest& request) {
  drawing::PangoTextMeasurer measurer(request.scale);
  return renderWidget(request, measurer);
}

}  // namespace host
