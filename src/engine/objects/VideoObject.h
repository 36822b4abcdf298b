#pragma once
// Videos in scenes.

#include "vessot/String.h"

namespace nimbovideo {

// Writes a message of the video library on the log channel "nimbovideo".
void logFunction(const vessot::String& message);

} // namespace nimbovideo
