// gallery: every declared widget in every family and appearance, and every control, drawn in
// every language asked for (else every language of the bundle), with a contact sheet per
// language, an index page, and findings.json listing what a designer or translator must look at.
#pragma once

#include "host/core/HostSession.h"

namespace host {

Outcome runGalleryCommand(const HostSession& session);

}  // namespace host
