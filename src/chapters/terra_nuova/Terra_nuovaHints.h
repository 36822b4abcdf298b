#pragma once
// The second chapter's station has no hint steps.

#include "vessot/String.h"

namespace Terra_nuova {

// Always "".
vessot::String getSmartHint();

} // namespace Terra_nuova
