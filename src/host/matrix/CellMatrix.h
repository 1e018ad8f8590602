// The cells the gallery and the snapshots draw: every scenario (or the container as it is) x
// system version x language x declared widget x family x appearance (on the systems that offer
// it), plus the control (in light and dark). Cells are
// grouped by scenario and language, a contact sheet each. Every cell has a stable name (its file's
// path in the gallery without ".png"), from which a shard takes its stable part.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/core/HostSession.h"

namespace host {

// A scenario as the pages name it.
struct ScenarioNote {
  std::string name, description;
};

// The device of one system version on which a group's widgets are drawn.
struct MatrixState {
  std::string system;  // "iOS 17.4" when several versions are drawn; else empty
  // Held by pointer: the members refer to it, so it must not move.
  std::shared_ptr<const device::Device> device;
  std::vector<widgetkit::WidgetBundleMember> members;  // as the bundle declares them on it
};

// A scenario in a language: one contact sheet.
struct MatrixGroup {
  std::string scenario;  // empty: the container as it is
  std::string language;
  std::string folder;  // "<scenario>/<language>", or "<language>" for the container
  std::vector<MatrixState> states;
};

struct MatrixCell {
  std::size_t group = 0, state = 0, member = 0;
  std::optional<widgetkit::WidgetFamily> family;  // nothing: a control
  Appearance appearance = Appearance::light;
  std::string name;  // "de/TamsaWidget-small-dark", made of safe path components
  // Where the cell stands in the whole matrix, shard or not: the one order of a gallery's
  // pictures, by which shards are merged.
  std::size_t position = 0;
};

struct Matrix {
  std::vector<MatrixGroup> groups;
  std::vector<MatrixCell> cells;  // by group, in drawing order
  std::vector<ScenarioNote> scenarios;
};

// The whole matrix the options ask for, or the shard of it named.
Result<Matrix> buildMatrix(const HostSession& session, const MatrixOptions& options,
                           const std::optional<Shard>& shard = std::nullopt);

// True when the cell of that name belongs to the shard: the same answer on every machine, and
// every cell in exactly one shard of N.
bool inShard(const std::string& cellName, const Shard& shard);

}  // namespace host
