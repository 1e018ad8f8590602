// A control for the system's control gallery (StaticControlConfiguration): a button that
// performs an app intent, with the name and description the gallery shows. A value.
#pragma once

#include <string>

#include "platform/appintents/AppIntent.h"
#include "platform/swiftui/View.h"

namespace widgetkit {

// ControlWidgetButton(action:label:) with a Label(title, systemImage) and the platform's default
// action label.
struct ControlWidgetButton {
  appintents::AnyAppIntent action;
  std::string title;
  std::string systemImage;

  swiftui::View label() const { return swiftui::Label(title, systemImage); }
};

class ControlConfiguration {
 public:
  static ControlConfiguration staticControlConfiguration(std::string kind,
                                                         ControlWidgetButton content) {
    ControlConfiguration c;
    c.kind_ = std::move(kind);
    c.button_ = std::move(content);
    return c;
  }
  ControlConfiguration displayName(appintents::LocalizedStringResource name) && {
    displayName_ = std::move(name);
    return std::move(*this);
  }
  ControlConfiguration description(appintents::LocalizedStringResource text) && {
    description_ = std::move(text);
    return std::move(*this);
  }

  const std::string& kind() const { return kind_; }
  const ControlWidgetButton& button() const { return button_; }
  const appintents::LocalizedStringResource& displayName() const { return displayName_; }
  const appintents::LocalizedStringResource& description() const { return description_; }

 private:
  std::string kind_;
  ControlWidgetButton button_;
  appintents::LocalizedStringResource displayName_;
  appintents::LocalizedStringResource description_;
};

}  // namespace widgetkit
