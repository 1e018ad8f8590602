#include "host/system/RenderRequest.h"

namespace host {

base::Result<RenderedWidget> renderWidget(const RenderRequest& request,
                                          const drawing::PangoTextMeasurer& measurer) {
  if (!(request.scale >= 1 && request.scale <= 3))
    return base::Failure::runtime("the scale must be between 1 and 3");
  SceneRequest sceneRequest{
      request.view,          request.family,    request.appearance, request.homeScreen,
      request.systemVersion, request.device,    request.scale,      request.localizedKeyResolver,
      request.language,      request.textOrigin};
  auto scene = composeScene(sceneRequest, measurer);
  if (!scene) return scene.failure();
  auto picture = drawing::drawPicture(*scene, request.pictureFormat, request.scale, measurer);
  if (!picture) return picture.failure();
  return RenderedWidget{std::move(*scene), std::move(*picture)};
}

base::Result<RenderedWidget> renderWidget(const RenderRequest& request) {
  drawing::PangoTextMeasurer measurer(request.scale);
  return renderWidget(request, measurer);
}

}  // namespace host
