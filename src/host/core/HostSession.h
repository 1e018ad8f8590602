// One run of the host: the typed options, the device it set up, and what the bundle declared on
// that device. Commands find the widget or control they were asked about here, so every command
// refuses an unknown kind, a control asked for entries, or a family a widget does not offer with
// the same words.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/core/HostOptions.h"
#include "host/core/InstallPaths.h"
#include "host/core/Messages.h"
#include "host/core/Result.h"
#include "platform/device/Device.h"
#include "platform/os/WritableFileSystem.h"
#include "platform/widgetkit/WidgetBundle.h"

namespace host {

struct HostSession {
  const DeviceOptions& asked;  // the device as the user described it
  const device::Device& device;
  std::vector<widgetkit::WidgetBundleMember> declared;
  // The bundle's body, for commands that evaluate it again on another device (the gallery).
  const widgetkit::WidgetBundleBody& body;
  InstallPaths paths;  // what the program ships
  WarningSink warn;    // where commands hand their warnings; the program prints them at once
  // Where the host reads its inputs and writes what it leaves behind (never the extension's view).
  std::shared_ptr<os::WritableFileSystem> files = os::posixWritableFileSystem();

  // The widget of that kind; a usage failure when there is none (a control, or not offered).
  Result<const widgetkit::WidgetConfiguration*> widget(const std::string& kind) const;
  // The control of that kind; a usage failure when there is none (a widget, or not offered).
  Result<const widgetkit::ControlConfiguration*> control(const std::string& kind) const;
  // The family asked for, or the widget's first when none was and `required` is false; a usage
  // failure for a family the widget does not offer.
  Result<widgetkit::WidgetFamily> family(const widgetkit::WidgetConfiguration& widget,
                                         std::optional<widgetkit::WidgetFamily> asked,
                                         bool required) const;
  // A request context for a widget family.
  widgetkit::TimelineProviderContext context(widgetkit::WidgetFamily family,
                                             bool isPreview = false) const;
};

// The entry a drawing shows: the timeline's first entry (the placeholder when it has none), the
// snapshot, the snapshot as the widget gallery asks, or the placeholder.
widgetkit::AnyTimelineEntry entryFor(const device::Device& device,
                                     const widgetkit::WidgetConfiguration& widget,
                                     widgetkit::WidgetFamily family, EntryChoice which);

}  // namespace host
