#pragma once
// A Theora clip being played: a worker of the manager decodes ahead into the frame queue, and the main
// thread takes the frames that its timer says are due.
//
// The timer is called only from the main-thread operations below: update advances it while it is not
// paused; pause, play, isPaused and seek go to it; and when a looping clip starts over, the clip rewinds
// its source and calls timer->seek(0) as the first frame of the new pass comes due.
//
// Output modes: TheoraOutputRGB fills the fourth byte of each pixel with 255; TheoraOutputRGBA reads the
// file as an alpha clip, whose picture region holds the colour picture on the left and an alpha picture
// of the same size on the right. The clip then reports the colour picture as its picture region, and
// the fourth byte of each pixel is the alpha picture's luma.

#include "reelix/TheoraFrameQueue.h"
#include "reelix/TheoraTimer.h"
#include "vessot/String.h"

#include <atomic>
#include <condition_variable>
#include <memory>

class TheoraDataSource;
class TheoraVideoManager;

namespace reelix {
class TheoraStream;
}

enum TheoraOutputMode { TheoraOutputRGB = 1, TheoraOutputRGBA = 2 };

class TheoraVideoClip {
public:
    // Made by TheoraVideoManager::createVideoClip. Reads the headers at once; a source that holds no
    // usable Theora stream is logged and leaves the clip with width 0. Owns the source.
    TheoraVideoClip(TheoraVideoManager* manager, TheoraDataSource* source, int outputMode, int precachedFrames,
                    bool usePower2Stride);
    ~TheoraVideoClip();
    TheoraVideoClip(const TheoraVideoClip&) = delete;
    TheoraVideoClip& operator=(const TheoraVideoClip&) = delete;

    const vessot::String& getName() const { return name; }
    // The frame every TheoraVideoFrame covers; 0 when the clip could not load.
    int getWidth() const { return width; }
    int getHeight() const { return height; }
    // The picture region inside the frame.
    int getSubFrameOffsetX() const { return subX; }
    int getSubFrameOffsetY() const { return subY; }
    int getSubFrameWidth() const { return subWidth; }
    int getSubFrameHeight() const { return subHeight; }
    float getFPS() const { return (float)fps; }
    int getNumPrecachedFrames() const { return queue->getSize(); }

    // Also starts a clip over that already reached its end, unless its data broke off.
    void setAutoRestart(bool value);
    bool getAutoRestart() const { return autoRestart; }
    // Waits until max(1, ceil(factor x precached frames)) frames are ready, the clip has no more to give,
    // or maxWaitTime seconds pass. Answers whether that many frames are ready.
    bool waitForCache(float desiredCacheFactor = 0.5f, float maxWaitTime = 1.0f);

    // Null restores the clip's own timer. The clip does not own the timer.
    void setTimer(TheoraTimer* newTimer) { timer = newTimer ? newTimer : &ownTimer; }
    TheoraTimer* getTimer() { return timer; }
    void setPlaybackSpeed(float speed) { timer->setSpeed(speed); }
    float getPlaybackSpeed() { return timer->getSpeed(); }

    // The oldest ready frame when it is due, else null; popFrame then frees it.
    TheoraVideoFrame* getNextFrame();
    void popFrame();
    int getNumReadyFrames() { return queue->getReadyCount(); }
    TheoraFrameQueue* getFrameQueue() { return queue.get(); }

    // Advances the timer (unless paused), starts the next pass of a looping clip when this one is over,
    // and drops frames whose successor is already due.
    void update(float timeDelta);
    // The stream is over (or broke off), every frame was taken and its time has passed.
    bool isDone();
    // The timer goes to the time; decoding restarts from the keyframe before it.
    void seek(float time);
    void pause() { timer->pause(); }
    void play() { timer->play(); }
    bool isPaused() { return timer->isPaused(); }

private:
    friend class TheoraVideoManager;

    // Whether a worker has something to do for this clip.
    bool needsWork();
    // One step of the worker: a pending seek, then the next frame into a free buffer.
    void decodeStep();
    bool decodeInto(TheoraVideoFrame* frame, bool seekRequested, int64_t seekTarget);

    TheoraVideoManager* manager;
    std::unique_ptr<TheoraDataSource> source;
    std::unique_ptr<reelix::TheoraStream> stream;
    vessot::String name;
    int width = 0;
    int height = 0;
    int subX = 0, subY = 0, subWidth = 0, subHeight = 0;
    int alphaOffset = -1;
    double fps = 0.0;
    std::unique_ptr<TheoraFrameQueue> queue;
    TheoraTimer ownTimer;
    TheoraTimer* timer = &ownTimer;
    std::atomic<bool> autoRestart{false};
    std::condition_variable readyChanged;

    // Guarded by the queue's mutex.
    int epoch = 0; // counts seeks; a frame decoded before the latest one is thrown away
    bool seekPending = false;
    int64_t seekFrame = 0;
    int seekPass = 0;
    bool ended = false;
    bool brokeOff = false; // the data turned out damaged
    float endTime = 0.0f;

    // The worker's own.
    int pass = 0;
    int64_t lastFrame = -1;
    float previousPassEnd = 0.0f;
    bool everDecoded = false;

    // The main thread's own: the pass whose frames are being shown.
    int shownPass = 0;
    // Guarded by the manager's mutex: a worker is decoding for this clip.
    bool busy = false;
};
