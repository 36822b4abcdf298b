#include "reelix/TheoraFrameQueue.h"

TheoraFrameQueue::TheoraFrameQueue(int size, int width, int height, int stride) {
    for (int i = 0; i < size; ++i) {
        pool.push_back(std::make_unique<TheoraVideoFrame>(width, height, stride));
        free.push_back(pool.back().get());
    }
}

TheoraVideoFrame* TheoraFrameQueue::getFirstAvailableFrame() {
    std::lock_guard<std::mutex> lock(mutex);
    return ready.empty() ? nullptr : ready.front();
}

int TheoraFrameQueue::getReadyCount() {
    std::lock_guard<std::mutex> lock(mutex);
    return (int)ready.size();
}

TheoraVideoFrame* TheoraFrameQueue::takeFree() {
    std::lock_guard<std::mutex> lock(mutex);
    if (free.empty()) {
        return nullptr;
    }
    TheoraVideoFrame* frame = free.back();
    free.pop_back();
    return frame;
}

void TheoraFrameQueue::publish(TheoraVideoFrame* frame) {
    std::lock_guard<std::mutex> lock(mutex);
    ready.push_back(frame);
}

void TheoraFrameQueue::release(TheoraVideoFrame* frame) {
    std::lock_guard<std::mutex> lock(mutex);
    free.push_back(frame);
}

void TheoraFrameQueue::pop() {
    std::lock_guard<std::mutex> lock(mutex);
    if (!ready.empty()) {
        free.push_back(ready.front());
        ready.pop_front();
    }
}

void TheoraFrameQueue::clear() {
    std::lock_guard<std::mutex> lock(mutex);
    free.insert(free.end(), ready.begin(), ready.end());
    ready.clear();
}
