#include "engine/objects/AudioVideoTimer.h"

#include "echon/AudioManager.h"
#include "vessot/System.h"

#include <algorithm>
#include <cmath>

namespace nimbovideo {

namespace {

// A position change larger than this counts as a jump to glide over.
constexpr float JUMP = 0.1f;
// The longest tick step taken at once.
constexpr float MAX_STEP = 0.1f;

} // namespace

AudioVideoTimer::AudioVideoTimer(echon::Player* player, float syncOffset)
    : mSyncOffset(syncOffset), mPlayer(player), mAudioDisabled(echon::mgr->getName() == "Disabled") {}

void AudioVideoTimer::update(float dt) {
    if (mAudioDisabled) {
        mFreeTime += dt;
        mTime = mFreeTime - mSyncOffset;
        return;
    }
    uint32_t now = vessot::get_system_tick_count();
    if (mLastTick == 0) {
        mLastTick = now;
    }
    float step = std::min((float)(uint32_t)(now - mLastTick) / 1000.0f, MAX_STEP);
    mLastTick = now;
    if (!mPlayer->isPlaying()) {
        mTime += step;
        return;
    }
    float position = mPlayer->getTimePosition();
    if (position != mLastAudioPosition) {
        float jump = position - mLastAudioPosition;
        mLastAudioPosition = position;
        if (jump > JUMP) {
            mCorrection = position - mAudioTime;
            mCorrectionSpeed = std::fabs(mCorrection);
        } else {
            mAudioTime = position;
        }
    } else {
        mAudioTime += step;
    }
    if (mCorrection != 0.0f) {
        float catchUp = std::min(mCorrectionSpeed * step, std::fabs(mCorrection));
        float signedCatchUp = mCorrection > 0.0f ? catchUp : -catchUp;
        mAudioTime += signedCatchUp;
        mCorrection -= signedCatchUp;
    }
    mTime = mAudioTime - mSyncOffset;
}

void AudioVideoTimer::pause() {
    if (mAudioDisabled) {
        TheoraTimer::pause();
    } else {
        mPlayer->pause(0.0f);
    }
}

void AudioVideoTimer::play() {
    if (mAudioDisabled) {
        TheoraTimer::play();
    } else {
        mPlayer->play(0.0f, false);
    }
}

bool AudioVideoTimer::isPaused() {
    return mAudioDisabled ? TheoraTimer::isPaused() : mPlayer->isPaused();
}

void AudioVideoTimer::stop() {
    if (mAudioDisabled) {
        TheoraTimer::stop();
    } else {
        mPlayer->stop(0.0f);
    }
}

void AudioVideoTimer::seek(float time) {
    mTime = time;
    mPlayer->stop(0.0f);
    mLastTick = 0;
    mAudioTime = 0.0f;
    mCorrection = 0.0f;
    mCorrectionSpeed = 0.0f;
    // Without audio the clock is mFreeTime less the offset: it goes on from the time sought too.
    mFreeTime = time;
    mLastAudioPosition = -1.0f;
}

} // namespace nimbovideo
