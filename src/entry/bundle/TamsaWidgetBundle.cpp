#include "entry/bundle/TamsaWidgetBundle.h"

#include "summary/views/TamsaWidget.h"

namespace tamsa {

widgetkit::WidgetBundleContents TamsaWidgetBundle::body(const device::Device& device) const {
  widgetkit::WidgetBundleContents contents;
  contents.widgets.push_back(TamsaWidget{}.body(device));
  return contents;
}

}  // namespace tamsa
