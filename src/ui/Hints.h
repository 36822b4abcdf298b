#pragma once
// The hint button's charge and the hint arrow's timer.

#include "morvec/Vector.h"

namespace Hints {

struct Marker {
    float time = 0.0f;
    bool hasImage = false;
    morvec::Vector2 target;
};
extern Marker marker;

void updateHintButton(float step);

} // namespace Hints
