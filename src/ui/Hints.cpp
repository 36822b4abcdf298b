#include "ui/Hints.h"

namespace Hints {

Marker marker;

// The hint charge fills once hints exist.
void updateHintButton(float) {}

} // namespace Hints
