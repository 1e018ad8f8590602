// The intent the add-transaction control performs: it brings the app forward and asks the
// system to open the add-transaction link. perform() runs on the main actor.
#pragma once

#include <future>

#include "platform/appintents/AppIntent.h"
#include "platform/device/Device.h"

namespace tamsa {

struct TamsaOpenAddTransactionIntent {
  // Built once, on first use, from any thread; every read hands out a copy.
  static appintents::LocalizedStringResource title();
  static constexpr bool openAppWhenRun = true;

  // Switches to the device's main actor and there makes a result that opens the add-transaction
  // link; the future is ready once the main actor has run it. Never fails.
  std::shared_future<appintents::IntentResult> perform(const device::Device& device) const;

  // The intent as the system holds it.
  static appintents::AnyAppIntent erased(const device::Device& device);
};

}  // namespace tamsa
