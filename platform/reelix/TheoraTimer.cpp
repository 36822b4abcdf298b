#include "reelix/TheoraTimer.h"

void TheoraTimer::update(float timeDelta) {
    if (!mPaused) {
        mTime += timeDelta * mSpeed;
    }
}

void TheoraTimer::stop() {
    mTime = 0.0f;
    mPaused = true;
}
