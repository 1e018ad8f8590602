// The widgets' palette: seven named colours, each one RGB triple in dark appearance and
// another in every other appearance (unspecified included), opacity 1. Views name a colour here;
// they never build one.
//
// Thread-safety: each colour is built on first use under its own once-only guard, then shared
// read-only; resolving it may happen on any thread. Each wraps an adaptive UIKit colour, so one
// value resolves to either triple by the trait collection it is resolved with.
#pragma once

#include "platform/swiftui/Color.h"

namespace tamsa {

const swiftui::Color& primaryTextColor();
const swiftui::Color& secondaryTextColor();
const swiftui::Color& tertiaryTextColor();
const swiftui::Color& footerTextColor();
const swiftui::Color& dividerColor();
const swiftui::Color& incomeColor();
const swiftui::Color& expenseColor();

}  // namespace tamsa
