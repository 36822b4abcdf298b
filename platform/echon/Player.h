#pragma once
// One voice of a sound: plays, pauses and stops it with fades, and tells how far it has been heard.
// Players are made and destroyed by the AudioManager. The state queries and getTimePosition take no
// lock; the other operations lock the manager briefly.

#include "vessot/String.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace echon {

class AudioManager;
class Decoder;
class Sound;

class Player {
public:
    Player(AudioManager* manager, Sound* sound, bool managed);
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // From the start, or on from where a pause (or a fade-out still running) left it. The fade rises
    // from the present level to full over fadeTime seconds.
    void play(float fadeTime = 0.0f, bool looping = false);
    // Keeps the position; with a fade the sound falls silent over fadeTime seconds first.
    void pause(float fadeTime = 0.0f);
    // Back to the start once the fade-out (if any) has run.
    void stop(float fadeTime = 0.0f);
    // True from play() until the last sample or the end of a fade-out, also while pausing.
    bool isPlaying() const;
    // True from pause() until the next play() or stop().
    bool isPaused() const;
    // Seconds into the sound of the sample the device plays now (0 when stopped).
    float getTimePosition() const { return timePosition; }
    void setGain(float value) { gain = value < 0.0f ? 0.0f : value; }
    float getGain() const { return gain; }
    Sound* getSound() const { return sound; }

private:
    friend class AudioManager;

    enum State : int { STOPPED, PLAYING, PAUSING, PAUSED, STOPPING };
    struct Mark {
        uint64_t frame;
        float seconds;
    };
    // What the source offers from `position` on: frames [base, base + count) at data.
    struct View {
        const float* data = nullptr;
        int64_t base = 0;
        int64_t count = 0;
        bool atEnd = false;
    };

    void playLocked(float fadeTime, bool looping);
    void pauseLocked(float fadeTime);
    void stopLocked(float fadeTime);
    void halt();
    void startFade(float target, float fadeTime);
    // Adds frames output frames at outRate to out with the base gain (global x category x player);
    // endFrame counts the output frames mixed so far, this block included.
    void mix(float* out, int frames, float baseGain, int outRate, uint64_t endFrame);
    // A view of the next frames; false when nothing can be played now (still loading, or failed).
    bool view(View& v, int64_t wanted);
    bool streamView(View& v, int64_t wanted);
    bool openStream();
    // Back to the start of the sound for the next pass of a loop; false for an empty sound.
    bool restartPass(int64_t passLength);
    void addMark(uint64_t outFrame);
    void publishPosition(uint64_t consumedFrame);
    int sourceChannels() const;
    int sourceRate() const;

    AudioManager* manager;
    Sound* sound;
    bool managed;
    std::atomic<int> state{STOPPED};
    std::atomic<float> gain{1.0f};
    std::atomic<float> timePosition{0.0f};

    // Guarded by the manager's lock.
    bool looping = false;
    float fade = 1.0f;
    float fadeTarget = 1.0f;
    float fadeSpeed = 0.0f; // per second
    float lastGain = -1.0f; // the gain the last block ended with; < 0 before the first block
    double position = 0.0;  // source frames into the current pass of the sound
    std::unique_ptr<Decoder> stream;
    std::vector<float> streamBuffer; // decoded frames [streamBase, ...) of the current pass
    int64_t streamBase = 0;
    bool streamEnded = false;
    std::array<Mark, 64> marks{};
    int markCount = 0;
    int markHead = 0;
};

} // namespace echon
