// snapshot record DIR: draws the matrix (as the gallery does) into DIR, a picture and its layout
// report per cell, with a manifest of how they were made. snapshot verify DIR: draws the same
// cells afresh and compares them with the recording, by meaning first (the layout reports) and by
// pixels only where the meanings agree; exit 1 when a cell changed, came or went. --update
// re-records just those; -o writes a report a person can open from disk.
#pragma once

#include "host/core/HostSession.h"

namespace host {

Outcome runSnapshotCommand(const HostSession& session);

}  // namespace host
