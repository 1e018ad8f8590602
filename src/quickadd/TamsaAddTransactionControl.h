// The add-transaction control of the system's control gallery: a button with a plus symbol and
// the localized title that performs TamsaOpenAddTransactionIntent.
#pragma once

#include <string>

#include "platform/device/Device.h"
#include "platform/widgetkit/ControlConfiguration.h"

namespace tamsa {

// appIdentifier + ".AddTransactionControl".
std::string addTransactionControlKind();

struct TamsaAddTransactionControl {
  widgetkit::ControlConfiguration body(const device::Device& device) const;
};

}  // namespace tamsa
