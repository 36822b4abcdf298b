#pragma once
// A clip's decoded frames waiting to be shown, oldest first, over a fixed pool of frame buffers that
// the worker fills. Thread-safe.

#include "reelix/TheoraVideoFrame.h"

#include <deque>
#include <memory>
#include <mutex>
#include <vector>

class TheoraFrameQueue {
public:
    TheoraFrameQueue(int size, int width, int height, int stride);
    TheoraFrameQueue(const TheoraFrameQueue&) = delete;
    TheoraFrameQueue& operator=(const TheoraFrameQueue&) = delete;

    // The oldest ready frame, or null; it stays in the queue.
    TheoraVideoFrame* getFirstAvailableFrame();
    int getReadyCount();
    int getSize() const { return (int)pool.size(); }

private:
    friend class TheoraVideoClip;

    // A free buffer for the worker to fill, or null.
    TheoraVideoFrame* takeFree();
    void publish(TheoraVideoFrame* frame);
    void release(TheoraVideoFrame* frame);
    // Frees the oldest ready frame.
    void pop();
    void clear();

    std::mutex mutex;
    std::vector<std::unique_ptr<TheoraVideoFrame>> pool;
    std::vector<TheoraVideoFrame*> free;
    std::deque<TheoraVideoFrame*> ready;
};
