#include "reelix/TheoraVideoClip.h"

#include "reelix/TheoraDataSource.h"
#include "reelix/TheoraStream.h"
#include "reelix/TheoraVideoManager.h"
#include "reelix/YuvConvert.h"
#include "vessot/Exception.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

// Frame times and timer readings are floats: a frame counts as due this close to its time.
constexpr float DUE_SLACK = 1e-4f;

int powerOfTwoAtLeast(int n) {
    int p = 1;
    while (p < n) {
        p *= 2;
    }
    return p;
}

} // namespace

TheoraVideoClip::TheoraVideoClip(TheoraVideoManager* manager, TheoraDataSource* source, int outputMode,
                                 int precachedFrames, bool usePower2Stride)
    : manager(manager), source(source), name(source ? source->repr() : vessot::String("(no data)")) {
    try {
        if (!source) {
            VESSOT_THROW("no data");
        }
        if (outputMode != TheoraOutputRGB && outputMode != TheoraOutputRGBA) {
            VESSOT_THROW("unsupported output mode " + vessot::String(outputMode));
        }
        stream = std::make_unique<reelix::TheoraStream>(source);
        const reelix::StreamInfo& info = stream->getInfo();
        fps = info.fps;
        width = info.frameWidth;
        height = info.frameHeight;
        subX = info.pictureX;
        subY = info.pictureY;
        subWidth = info.pictureWidth;
        subHeight = info.pictureHeight;
        if (outputMode == TheoraOutputRGBA) {
            // Every pixel of the reported frame finds its alpha half a picture to the right.
            subWidth = info.pictureWidth / 2;
            alphaOffset = subWidth;
            width = info.frameWidth - alphaOffset;
        }
        int stride = usePower2Stride ? powerOfTwoAtLeast(width) : width;
        int size = precachedFrames > 0 ? precachedFrames : TheoraVideoManager::DEFAULT_PRECACHED_FRAMES;
        queue = std::make_unique<TheoraFrameQueue>(size, width, height, stride);
    } catch (const vessot::exception& e) {
        TheoraVideoManager::log("Unable to load video clip '" + name + "': " + e.message());
        stream.reset();
        width = height = subX = subY = subWidth = subHeight = 0;
        queue = std::make_unique<TheoraFrameQueue>(0, 0, 0, 0);
        ended = true;
    }
}

TheoraVideoClip::~TheoraVideoClip() = default;

void TheoraVideoClip::setAutoRestart(bool value) {
    autoRestart = value;
    if (value && stream) {
        {
            std::lock_guard<std::mutex> lock(queue->mutex);
            ended = ended && brokeOff;
        }
        manager->wake();
    }
}

bool TheoraVideoClip::waitForCache(float desiredCacheFactor, float maxWaitTime) {
    int wanted = std::max(1, (int)std::ceil(desiredCacheFactor * (float)queue->getSize()));
    wanted = std::min(wanted, std::max(1, queue->getSize()));
    std::unique_lock<std::mutex> lock(queue->mutex);
    readyChanged.wait_for(lock, std::chrono::duration<float>(std::max(0.0f, maxWaitTime)),
                          [&] { return (int)queue->ready.size() >= wanted || ended; });
    return (int)queue->ready.size() >= wanted;
}

TheoraVideoFrame* TheoraVideoClip::getNextFrame() {
    float now = timer->getTime();
    std::lock_guard<std::mutex> lock(queue->mutex);
    if (queue->ready.empty()) {
        return nullptr;
    }
    TheoraVideoFrame* frame = queue->ready.front();
    return frame->pass == shownPass && frame->time <= now + DUE_SLACK ? frame : nullptr;
}

void TheoraVideoClip::popFrame() {
    queue->pop();
    manager->wake();
}

void TheoraVideoClip::update(float timeDelta) {
    if (!timer->isPaused()) {
        timer->update(timeDelta);
    }
    bool restarted = false;
    {
        std::lock_guard<std::mutex> lock(queue->mutex);
        auto& ready = queue->ready;
        auto next = std::find_if(ready.begin(), ready.end(), [&](TheoraVideoFrame* f) { return f->pass > shownPass; });
        if (next != ready.end() && timer->getTime() + DUE_SLACK >= (*next)->passStartAfter) {
            queue->free.insert(queue->free.end(), ready.begin(), next);
            ready.erase(ready.begin(), next);
            shownPass = ready.front()->pass;
            restarted = true;
        }
    }
    if (restarted) {
        timer->seek(0.0f);
    }
    float now = timer->getTime();
    bool dropped = false;
    {
        std::lock_guard<std::mutex> lock(queue->mutex);
        auto& ready = queue->ready;
        while (ready.size() >= 2 && ready[0]->pass == shownPass && ready[1]->pass == shownPass &&
               ready[1]->time <= now + DUE_SLACK) {
            queue->free.push_back(ready.front());
            ready.pop_front();
            dropped = true;
        }
    }
    if (restarted || dropped) {
        manager->wake();
    }
}

bool TheoraVideoClip::isDone() {
    float now = timer->getTime();
    std::lock_guard<std::mutex> lock(queue->mutex);
    return ended && queue->ready.empty() && now + DUE_SLACK >= endTime;
}

void TheoraVideoClip::seek(float time) {
    timer->seek(time);
    if (!stream) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(queue->mutex);
        queue->free.insert(queue->free.end(), queue->ready.begin(), queue->ready.end());
        queue->ready.clear();
        ++epoch;
        seekPending = true;
        seekFrame = std::max<int64_t>(0, (int64_t)std::floor(time * fps + 1e-3));
        seekPass = shownPass;
        ended = false;
        brokeOff = false;
    }
    manager->wake();
}

bool TheoraVideoClip::needsWork() {
    std::lock_guard<std::mutex> lock(queue->mutex);
    return stream && (seekPending || (!ended && !queue->free.empty()));
}

void TheoraVideoClip::decodeStep() {
    bool seekRequested = false;
    int64_t seekTarget = 0;
    int frameEpoch = 0;
    TheoraVideoFrame* frame = nullptr;
    {
        std::lock_guard<std::mutex> lock(queue->mutex);
        if (seekPending) {
            seekRequested = true;
            seekTarget = seekFrame;
            pass = seekPass;
            seekPending = false;
        }
        frameEpoch = epoch;
        if (queue->free.empty() || (ended && !seekRequested)) {
            return;
        }
        frame = queue->free.back();
        queue->free.pop_back();
    }
    bool decoded = false;
    vessot::String failure;
    try {
        decoded = decodeInto(frame, seekRequested, seekTarget);
    } catch (const vessot::exception& e) {
        failure = e.message();
    }
    {
        std::lock_guard<std::mutex> lock(queue->mutex);
        if (decoded && frameEpoch == epoch) {
            queue->ready.push_back(frame);
        } else {
            queue->free.push_back(frame);
            // Looping may have been switched on since this step began: then the next step restarts.
            bool restartsNext = autoRestart && everDecoded && failure.empty();
            if (!decoded && frameEpoch == epoch && !restartsNext) {
                ended = true;
                brokeOff = !failure.empty();
                endTime = (float)((double)(lastFrame + 1) / fps);
            }
        }
    }
    if (!failure.empty()) {
        TheoraVideoManager::log("Video clip '" + name + "' ends early: " + failure);
    }
    readyChanged.notify_all();
}

bool TheoraVideoClip::decodeInto(TheoraVideoFrame* frame, bool seekRequested, int64_t seekTarget) {
    if (seekRequested) {
        stream->seekToFrame(seekTarget);
        lastFrame = seekTarget - 1;
    }
    int64_t number = 0;
    reelix::YuvPicture picture;
    bool got = stream->next(number, &picture);
    if (!got && autoRestart && everDecoded) {
        previousPassEnd = (float)((double)(lastFrame + 1) / fps);
        stream->rewind();
        ++pass;
        got = stream->next(number, &picture);
    }
    if (!got) {
        return false;
    }
    reelix::convertPicture(picture, frame->getBuffer(), width, height, frame->getStride(), alphaOffset);
    frame->frameNumber = (int)number;
    frame->time = (float)((double)number / fps);
    frame->pass = pass;
    frame->passStartAfter = previousPassEnd;
    lastFrame = number;
    everDecoded = true;
    return true;
}
