#include "entry/bundle/TamsaWidgetBundle.h"

#include "quickadd/TamsaAddTransactionControl.h"
#include "quickadd/TamsaAddTransactionWidget.h"
#include "shared/SystemVersionCheck.h"
#include "summary/views/TamsaWidget.h"

namespace tamsa {

widgetkit::WidgetBundleSlot controlSlot(const device::Device& device) {
  namespace builder = widgetkit::WidgetBundleBuilder;
  std::optional<widgetkit::LimitedAvailabilityWidget> control;
  if (systemVersionAtLeast(device, os::Platform::iOS, 18, 0, 0)) {
    control = builder::buildLimitedAvailability(builder::buildBlock(
        {widgetkit::controlWidgetAdaptor(TamsaAddTransactionControl{}.body(device))}));
  }
  return builder::buildOptional(device, std::move(control));
}

widgetkit::TupleWidget TamsaWidgetBundle::body(const device::Device& device) const {
  return widgetkit::TupleWidget{{
      TamsaWidget{}.body(device),
      TamsaAddTransactionWidget{}.body(device),
      controlSlot(device),
  }};
}

}  // namespace tamsa
