#include "engine/objects/VideoObject.h"

#include "vessot/Log.h"

namespace nimbovideo {

void logFunction(const vessot::String& message) {
    vessot::Log::write("nimbovideo", message);
}

} // namespace nimbovideo
