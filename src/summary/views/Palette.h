// The summary widget's palette: seven named colours, each one RGB triple in dark appearance and
// another in every other appearance (unspecified included), opacity 1. Views name a colour here;
// they never build one.
//
// Thread-safety: each colour is built on first use under its own once-only guard, then shared
// read-only; resolving it may happen on any thread.
#pragma once

#include "platform/uikit/UIColor.h"

namespace tamsa {

const uikit::UIColor& primaryTextColor();
const uikit::UIColor& secondaryTextColor();
const uikit::UIColor& tertiaryTextColor();
const uikit::UIColor& footerTextColor();
const uikit::UIColor& dividerColor();
const uikit::UIColor& incomeColor();
const uikit::UIColor& expenseColor();

}  // namespace tamsa
