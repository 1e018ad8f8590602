// How much a finding matters. An error is what a user sees broken; a warning is what may be
// intended but costs; a note is information.
#pragma once

#include "host/core/Names.h"

namespace host {

enum class Severity { error, warning, note };

inline constexpr Names<Severity, 3> kSeverityNames{
    {{Severity::error, "error"}, {Severity::warning, "warning"}, {Severity::note, "note"}}};

// Whether `a` matters more than `b`.
constexpr bool graver(Severity a, Severity b) {
  return static_cast<int>(a) < static_cast<int>(b);
}

}  // namespace host
