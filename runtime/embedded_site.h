// The client site a form of the library gives a control it holds (the popup
// colour form's picker). It answers no ambient property, so the control
// takes the defaults: run mode, the system's GUI font.
#pragma once

#include <ocidl.h>

#include "common/com_ptr.h"

namespace zo {

[[nodiscard]] com_ptr<IOleClientSite> CreateEmbeddedSite() noexcept;

}  // namespace zo
