#include "quickadd/TamsaAddTransactionControl.h"

#include "quickadd/TamsaOpenAddTransactionIntent.h"
#include "shared/AppConfiguration.h"
#include "shared/LocalizedKeys.h"
#include "shared/LocalizedWidgetString.h"

namespace tamsa {

std::string addTransactionControlKind() {
  return std::string(appIdentifier) + ".AddTransactionControl";
}

widgetkit::ControlConfiguration TamsaAddTransactionControl::body(
    const device::Device& device) const {
  widgetkit::ControlWidgetButton button{
      .action = TamsaOpenAddTransactionIntent::erased(device),
      .title = localizedWidgetString(device, keys::addTransactionTitle),
      .systemImage = "plus",
  };
  return widgetkit::ControlConfiguration::staticControlConfiguration(addTransactionControlKind(),
                                                                     std::move(button))
      .displayName({keys::addTransactionTitle})
      .description({keys::addTransactionDescription});
}

}  // namespace tamsa
