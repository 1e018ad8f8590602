// App intents as the system runs them: an intent has a title the system shows, may bring the app
// to the foreground, and performs asynchronously, answering with a result that may ask the
// system to open another intent (such as opening a URL).
#pragma once

#include <functional>
#include <future>
#include <optional>
#include <string>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/URL.h"

namespace appintents {

// A key the system resolves from the extension's string tables in the system's language.
struct LocalizedStringResource {
  std::string key;
  bool operator==(const LocalizedStringResource&) const = default;

  std::string resolved(const foundation::Bundle& mainBundle) const {
    return foundation::NSLocalizedString(mainBundle, key);
  }
};

// Asks the system to open a URL.
struct OpenURLIntent {
  foundation::URL url;
  bool operator==(const OpenURLIntent&) const = default;
};

// What perform() answers. result(opensIntent:) carries no value and no dialog.
struct IntentResult {
  std::optional<OpenURLIntent> opensIntent;
  bool hasValue = false;
  bool hasDialog = false;

  static IntentResult result(OpenURLIntent opensIntent) {
    return IntentResult{std::move(opensIntent), false, false};
  }
  bool operator==(const IntentResult&) const = default;
};

// An intent as the system holds it, its type erased: what it shows and how to run it.
struct AnyAppIntent {
  std::string typeName;
  LocalizedStringResource title;
  bool openAppWhenRun = false;
  // Starts the intent; the result arrives when the work is done (on whatever executor the intent
  // runs on).
  std::function<std::shared_future<IntentResult>()> perform;
};

}  // namespace appintents
