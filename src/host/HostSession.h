// One run of the host: the options, the device it set up, and what the bundle declared on it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/HostOptions.h"
#include "platform/device/Device.h"
#include "platform/widgetkit/WidgetBundle.h"

namespace host {

struct HostSession {
  const HostOptions& options;
  const device::Device& device;
  std::vector<widgetkit::WidgetBundleMember> declared;
  // The bundle's body, for commands that evaluate it again on another device (the gallery).
  const widgetkit::WidgetBundleBody& body;

  const widgetkit::WidgetConfiguration* widget(const std::string& kind) const;
  const widgetkit::ControlConfiguration* control(const std::string& kind) const;
  // "is not offered on iOS 17.4 (offered there: A, B)"; for messages about an unknown kind.
  std::string notOffered(const std::string& kind) const;
  // A request context for a widget family.
  widgetkit::TimelineProviderContext context(widgetkit::WidgetFamily family,
                                             bool isPreview = false) const;
};

// The entry a drawing shows: "timeline" (its first entry), "snapshot", "preview" (a snapshot as
// the gallery asks) or "placeholder".
widgetkit::AnyTimelineEntry entryFor(const device::Device& device,
                                     const widgetkit::WidgetConfiguration& widget,
                                     widgetkit::WidgetFamily family, const std::string& which);

// A message naming the accepted devices when name is given and unknown.
std::optional<std::string> unknownDevice(const std::optional<std::string>& name);

// Prints one line on standard error; returns the status for a usage error, 2.
int usageError(const std::string& message);

// The commands; each returns the process's exit status.
int runEntryCommand(const HostSession& session);    // placeholder, snapshot, timeline
int runWidgetsCommand(const HostSession& session);  // widgets
int runPerformCommand(const HostSession& session);  // perform
int runRenderCommand(const HostSession& session);   // render
int runTapCommand(const HostSession& session);      // tap
int runGalleryCommand(const HostSession& session);  // gallery

}  // namespace host
