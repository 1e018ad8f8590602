// The commands that ask the extension something and print its answer: placeholder, snapshot and
// timeline (entries as JSON), tap (the link a tap opens), widgets (what the bundle declares) and
// perform (the control's intent, as the system runs it).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/core/CommandLine.h"
#include "host/core/HostSession.h"

namespace host {

// placeholder, snapshot, timeline.
struct EntryOptions {
  std::string kind;
  bool preview = false;  // snapshot: as the widget gallery asks
};

struct TapOptions {
  std::string kind;
  std::optional<swiftui::WidgetFamily> family;  // nothing: the widget's first
};

struct KindOptions {  // perform
  std::string kind;
};

struct WidgetsOptions {};

// The rows of these commands; "snapshot" first among the snapshot commands, as their parent.
std::vector<CommandRow> requestCommands();

Outcome runPlaceholderCommand(const HostSession& session, const EntryOptions& options);
Outcome runSnapshotEntryCommand(const HostSession& session, const EntryOptions& options);
Outcome runTimelineCommand(const HostSession& session, const EntryOptions& options);
Outcome runTapCommand(const HostSession& session, const TapOptions& options);
Outcome runWidgetsCommand(const HostSession& session, const WidgetsOptions& options);
Outcome runPerformCommand(const HostSession& session, const KindOptions& options);

}  // namespace host
