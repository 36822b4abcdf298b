#pragma once
// The clock a clip shows its frames by. A clip calls its timer only from its own main-thread
// operations: update (while not paused), pause, play, isPaused and seek, and seek(0) when a looping
// clip starts over. Subclasses (such as one that follows a sound's position) keep mTime as the clock.

class TheoraTimer {
public:
    TheoraTimer() = default;
    virtual ~TheoraTimer() = default;

    // Seconds into the clip.
    virtual float getTime() { return mTime; }
    // Advances the clock by timeDelta x speed unless paused.
    virtual void update(float timeDelta);
    virtual void pause() { mPaused = true; }
    virtual void play() { mPaused = false; }
    virtual bool isPaused() { return mPaused; }
    // Back to 0, paused.
    virtual void stop();
    virtual void setSpeed(float speed) { mSpeed = speed; }
    virtual float getSpeed() { return mSpeed; }
    virtual void seek(float time) { mTime = time; }

protected:
    float mTime = 0.0f;
    float mSpeed = 1.0f;
    bool mPaused = false;
};
