#pragma once
// The station: the airlock leads on.

#include "vessot/String.h"

namespace Terra_nuova {

// The airlock ("FF0000").
vessot::String getSmartHint();

} // namespace Terra_nuova
