#include "quickadd/TamsaOpenAddTransactionIntent.h"

#include <memory>

#include "platform/foundation/Once.h"
#include "quickadd/AddTransactionLink.h"
#include "shared/LocalizedKeys.h"

namespace tamsa {

appintents::LocalizedStringResource TamsaOpenAddTransactionIntent::title() {
  static const foundation::Once<appintents::LocalizedStringResource> title;
  return title.get([] { return appintents::LocalizedStringResource{keys::addTransactionTitle}; });
}

std::shared_future<appintents::IntentResult> TamsaOpenAddTransactionIntent::perform(
    const device::Device& device) const {
  auto promise = std::make_shared<std::promise<appintents::IntentResult>>();
  auto result = promise->get_future().share();
  device.mainActor->enqueue([promise] {
    appintents::IntentResult r;
    if (auto url = foundation::URL::string(addTransactionURL()))
      r = appintents::IntentResult::result(appintents::OpenURLIntent{*url});
    promise->set_value(std::move(r));
  });
  return result;
}

appintents::AnyAppIntent TamsaOpenAddTransactionIntent::erased(const device::Device& device) {
  return appintents::AnyAppIntent{
      .typeName = "TamsaOpenAddTransactionIntent",
      .title = title(),
      .openAppWhenRun = openAppWhenRun,
      .perform = [&device] { return TamsaOpenAddTransactionIntent{}.perform(device); },
  };
}

}  // namespace tamsa
