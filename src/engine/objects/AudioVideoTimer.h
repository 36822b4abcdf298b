#pragma once
// The clock of a clip that has a sound of its own: it follows the sound player's position, gliding
// over a jump of more than 0.1 s within about a second of ticks instead of snapping to it, and
// counts the system ticks while the sound does not play. With the audio library "Disabled" it
// counts the frame's time steps instead. "sync_offset" seconds are taken off the clock.

#include "reelix/TheoraTimer.h"

#include <cstdint>

namespace echon {
class Player;
}

namespace nimbovideo {

class AudioVideoTimer : public TheoraTimer {
public:
    // The player is not owned.
    AudioVideoTimer(echon::Player* player, float syncOffset);

    void update(float dt) override;
    void pause() override;
    void play() override;
    bool isPaused() override;
    void stop() override;
    // Stops the sound and starts following it afresh, the clock at the time sought (a looping clip
    // seeks 0 at every restart; its sound then stays stopped).
    void seek(float time) override;

private:
    uint32_t mLastTick = 0;
    float mSyncOffset;
    float mLastAudioPosition = -1.0f;
    float mAudioTime = 0.0f;
    float mCorrection = 0.0f;
    float mCorrectionSpeed = 0.0f;
    echon::Player* mPlayer;
    float mFreeTime = 0.0f;
    bool mAudioDisabled;
};

} // namespace nimbovideo
