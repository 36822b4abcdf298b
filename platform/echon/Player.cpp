#include "echon/Player.h"

#include "echon/AudioManager.h"
#include "echon/Decoder.h"
#include "vessot/Exception.h"
#include "vessot/Log.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace echon {

namespace {

constexpr int STREAM_CHUNK = 4096;

float moveToward(float value, float target, float amount) {
    return value < target ? std::min(target, value + amount) : std::max(target, value - amount);
}

// Adds count frames read from src (CH channels, frames [0, last] usable) at positions pos, pos + step, ...
// to stereo out, with a gain that starts at g and changes by dg per frame.
template <int CH>
void addFrames(float* out, int count, const float* src, int64_t last, double& pos, double step, float& g, float dg) {
    if (step == 1.0 && pos == std::floor(pos)) {
        // The common case: same rate, whole-frame position. No loop-carried state, so it vectorises.
        const float* s = src + (int64_t)pos * CH;
        float g0 = g;
        for (int k = 0; k < count; ++k) {
            float gk = g0 + dg * (float)k;
            out[2 * k] += gk * s[k * CH];
            out[2 * k + 1] += gk * s[k * CH + CH - 1];
        }
        g = g0 + dg * (float)count;
        pos += count;
        return;
    }
    for (int k = 0; k < count; ++k, pos += step, g += dg) {
        int64_t i = std::min((int64_t)pos, last);
        int64_t j = std::min(i + 1, last);
        float frac = (float)(pos - (double)i);
        const float* a = src + i * CH;
        const float* b = src + j * CH;
        out[2 * k] += g * (a[0] + (b[0] - a[0]) * frac);
        out[2 * k + 1] += g * (a[CH - 1] + (b[CH - 1] - a[CH - 1]) * frac);
    }
}

} // namespace

Player::Player(AudioManager* manager, Sound* sound, bool managed) : manager(manager), sound(sound), managed(managed) {}

Player::~Player() = default;

void Player::play(float fadeTime, bool looping) {
    std::lock_guard<std::mutex> lock(manager->mutex);
    playLocked(fadeTime, looping);
}

void Player::pause(float fadeTime) {
    std::lock_guard<std::mutex> lock(manager->mutex);
    pauseLocked(fadeTime);
}

void Player::stop(float fadeTime) {
    std::lock_guard<std::mutex> lock(manager->mutex);
    stopLocked(fadeTime);
}

bool Player::isPlaying() const {
    int s = state;
    return s == PLAYING || s == PAUSING || s == STOPPING;
}

bool Player::isPaused() const {
    int s = state;
    return s == PAUSING || s == PAUSED;
}

void Player::playLocked(float fadeTime, bool looping) {
    if (manager->silent()) {
        return;
    }
    this->looping = looping;
    int s = state;
    if (s == PLAYING) {
        return;
    }
    if (s == STOPPED) {
        halt();
        fade = 0.0f;
        if (!sound->getCategory()->isStreamed()) {
            manager->requestLoadLocked(sound, true);
        }
    }
    startFade(1.0f, fadeTime);
    state = PLAYING;
}

void Player::pauseLocked(float fadeTime) {
    int s = state;
    if (s != PLAYING && s != STOPPING) {
        return;
    }
    if (fadeTime > 0.0f) {
        startFade(0.0f, fadeTime);
        state = PAUSING;
    } else {
        fade = 0.0f;
        state = PAUSED;
    }
}

void Player::stopLocked(float fadeTime) {
    int s = state;
    if ((s == PLAYING || s == PAUSING) && fadeTime > 0.0f) {
        startFade(0.0f, fadeTime);
        state = STOPPING;
    } else if (s != STOPPED && !(s == STOPPING && fadeTime > 0.0f)) {
        halt();
    }
}

void Player::halt() {
    state = STOPPED;
    position = 0.0;
    fade = 1.0f;
    fadeTarget = 1.0f;
    fadeSpeed = 0.0f;
    lastGain = -1.0f;
    stream.reset();
    streamBuffer.clear();
    streamBase = 0;
    streamEnded = false;
    markCount = 0;
    timePosition = 0.0f;
}

void Player::startFade(float target, float fadeTime) {
    fadeTarget = target;
    if (fadeTime > 0.0f) {
        fadeSpeed = 1.0f / fadeTime;
    } else {
        fade = target;
        fadeSpeed = 0.0f;
    }
}

int Player::sourceChannels() const {
    if (sound->getCategory()->isStreamed()) {
        return stream ? stream->getChannels() : 0;
    }
    return sound->channels;
}

int Player::sourceRate() const {
    if (sound->getCategory()->isStreamed()) {
        return stream ? stream->getRate() : 0;
    }
    return sound->rate;
}

bool Player::openStream() {
    try {
        stream = Decoder::openFile(sound->getFilename());
    } catch (const vessot::exception& e) {
        vessot::Log::write("echon", "Unable to play sound '" + sound->getName() + "' from '" + sound->getFilename() +
                                        "': " + e.message());
        halt();
        return false;
    }
    streamBuffer.clear();
    streamBase = 0;
    streamEnded = false;
    return true;
}

bool Player::streamView(View& v, int64_t wanted) {
    int channels = stream->getChannels();
    int64_t keepFrom = (int64_t)position;
    // Consumed frames are dropped in large pieces so that the buffer is rarely moved.
    if (keepFrom - streamBase >= STREAM_CHUNK) {
        streamBuffer.erase(streamBuffer.begin(), streamBuffer.begin() + (keepFrom - streamBase) * channels);
        streamBase = keepFrom;
    }
    try {
        while (!streamEnded && streamBase + (int64_t)streamBuffer.size() / channels < wanted) {
            size_t old = streamBuffer.size();
            streamBuffer.resize(old + (size_t)STREAM_CHUNK * channels);
            int got = stream->read(streamBuffer.data() + old, STREAM_CHUNK);
            streamBuffer.resize(old + (size_t)got * channels);
            streamEnded = got == 0;
        }
    } catch (const vessot::exception& e) {
        vessot::Log::write("echon", "Stopped sound '" + sound->getName() + "' from '" + sound->getFilename() +
                                        "': " + e.message());
        halt();
        return false;
    }
    v.data = streamBuffer.data();
    v.base = streamBase;
    v.count = (int64_t)streamBuffer.size() / channels;
    v.atEnd = streamEnded;
    return true;
}

bool Player::view(View& v, int64_t wanted) {
    if (sound->getCategory()->isStreamed()) {
        return streamView(v, wanted);
    }
    if (sound->load == Sound::Load::FAILED) {
        halt();
        return false;
    }
    if (sound->load == Sound::Load::UNLOADED) {
        manager->requestLoadLocked(sound, true);
        return false;
    }
    v.data = sound->samples.data();
    v.base = 0;
    v.count = sound->decodedFrames();
    v.atEnd = sound->load == Sound::Load::READY;
    return true;
}

bool Player::restartPass(int64_t passLength) {
    if (passLength <= 0) {
        return false;
    }
    position -= (double)passLength;
    if (stream) {
        try {
            stream->rewind();
        } catch (const vessot::exception& e) {
            vessot::Log::write("echon", "Stopped sound '" + sound->getName() + "': " + e.message());
            return false;
        }
        streamBuffer.clear();
        streamBase = 0;
        streamEnded = false;
    }
    return true;
}

void Player::mix(float* out, int frames, float baseGain, int outRate, uint64_t endFrame) {
    int s = state;
    if (s == STOPPED || s == PAUSED) {
        return;
    }
    if (sound->getCategory()->isStreamed() && !stream && !openStream()) {
        return;
    }
    View v;
    if (!view(v, 0)) {
        return; // still loading, or failed
    }
    int channels = sourceChannels();
    double step = (double)sourceRate() / outRate;
    float fadeEnd = moveToward(fade, fadeTarget, fadeSpeed * (float)frames / (float)outRate);
    float g = lastGain < 0.0f ? baseGain * fade : lastGain;
    float gEnd = baseGain * fadeEnd;
    float dg = (gEnd - g) / (float)frames;
    bool finished = false;
    int done = 0;
    while (done < frames) {
        int64_t wanted = (int64_t)(position + (frames - done) * step) + 2;
        if (!view(v, wanted)) {
            return;
        }
        int64_t available = v.base + v.count;
        double limit = (double)(v.atEnd ? available : available - 1);
        int n = position < limit ? (int)std::min<double>(frames - done, std::ceil((limit - position) / step)) : 0;
        if (n > 0) {
            double rel = position - (double)v.base;
            if (channels == 1) {
                addFrames<1>(out + 2 * done, n, v.data, v.count - 1, rel, step, g, dg);
            } else {
                addFrames<2>(out + 2 * done, n, v.data, v.count - 1, rel, step, g, dg);
            }
            position = rel + (double)v.base;
            done += n;
        } else if (!v.atEnd) {
            break; // the loader has not got this far yet
        } else if (!looping || !restartPass(available)) {
            finished = true;
            break;
        }
    }
    fade = fadeEnd;
    lastGain = gEnd;
    addMark(endFrame);
    if (finished || (fade <= 0.0f && fadeTarget <= 0.0f && state == STOPPING)) {
        halt();
    } else if (fade <= 0.0f && fadeTarget <= 0.0f && state == PAUSING) {
        state = PAUSED;
    }
}

void Player::addMark(uint64_t outFrame) {
    int rate = sourceRate();
    marks[markHead] = Mark{outFrame, rate > 0 ? (float)(position / rate) : 0.0f};
    markHead = (markHead + 1) % (int)marks.size();
    markCount = std::min(markCount + 1, (int)marks.size());
}

void Player::publishPosition(uint64_t consumedFrame) {
    for (int k = 0; k < markCount; ++k) {
        const Mark& mark = marks[(markHead - 1 - k + marks.size()) % marks.size()];
        if (mark.frame <= consumedFrame) {
            timePosition = mark.seconds;
            return;
        }
    }
}

} // namespace echon
