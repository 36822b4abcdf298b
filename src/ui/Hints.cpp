#include "ui/Hints.h"

namespace Hints {

Marker marker;
float buttonCooldown = 1.0f;

// The hint charge fills, and hints are found, once the chapters give hints.
void updateHintButton(float) {}
bool showCurrentHint() {
    return false;
}

} // namespace Hints
