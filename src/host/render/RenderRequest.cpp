#include "host/render/RenderRequest.h"

#include "host/render/LayoutReport.h"
#include "host/render/WidgetRenderer.h"

namespace render {

RenderResult renderWidget(const RenderRequest& request, const PangoTextMeasurer& measurer) {
  RenderResult result;
  if (!(request.scale >= 1 && request.scale <= 3)) {
    result.error = RenderError{"the scale must be between 1 and 3"};
    return result;
  }
  SceneRequest sceneRequest{
      request.view,   request.family, request.appearance,          request.systemVersion,
      request.device, request.scale,  request.localizedKeyResolver};
  auto composed = composeScene(sceneRequest, measurer);
  if (auto* error = std::get_if<RenderError>(&composed)) {
    result.error = *error;
    return result;
  }
  result.scene = std::get<WidgetScene>(std::move(composed));
  result.report = layoutReport(*result.scene, request.scale);
  if (!request.outputPath.empty())
    result.error = writePicture(*result.scene, request.outputPath, request.scale, measurer);
  if (!result.error && request.layoutPath)
    result.error = writeLayoutReport(result.report, *request.layoutPath);
  return result;
}

RenderResult renderWidget(const RenderRequest& request) {
  PangoTextMeasurer measurer(request.scale);
  return renderWidget(request, measurer);
}

}  // namespace render
