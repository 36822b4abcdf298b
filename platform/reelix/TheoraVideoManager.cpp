#include "reelix/TheoraVideoManager.h"

#include "vessot/Exception.h"
#include "vessot/Log.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>

namespace {

void logToGameLog(const vessot::String& message) {
    vessot::Log::write("reelix", message);
}

std::atomic<TheoraVideoManager::LogFunction> logFunction{logToGameLog};

// A worker also looks for work this often, whatever it was told.
constexpr auto IDLE_CHECK = std::chrono::milliseconds(100);

} // namespace

TheoraVideoManager::TheoraVideoManager(int workerCount) {
    for (int i = 0; i < std::max(1, workerCount); ++i) {
        workers.emplace_back(&TheoraVideoManager::workerLoop, this);
    }
}

TheoraVideoManager::~TheoraVideoManager() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        quitting = true;
    }
    workAvailable.notify_all();
    for (std::thread& worker : workers) {
        worker.join();
    }
    clips.clear();
}

void TheoraVideoManager::setLogFunction(LogFunction function) {
    logFunction = function ? function : logToGameLog;
}

void TheoraVideoManager::log(const vessot::String& message) {
    logFunction.load()(message);
}

TheoraVideoClip* TheoraVideoManager::createVideoClip(TheoraDataSource* source, int outputMode, int precachedFrames,
                                                     bool usePower2Stride) {
    auto clip = std::make_unique<TheoraVideoClip>(this, source, outputMode, precachedFrames, usePower2Stride);
    TheoraVideoClip* created = clip.get();
    {
        std::lock_guard<std::mutex> lock(mutex);
        clips.push_back(std::move(clip));
    }
    workAvailable.notify_all();
    return created;
}

TheoraVideoClip* TheoraVideoManager::createVideoClip(const vessot::String& filename, int outputMode,
                                                     int precachedFrames, bool usePower2Stride) {
    TheoraDataSource* source = nullptr;
    try {
        source = new TheoraFileDataSource(filename);
    } catch (const vessot::exception& e) {
        log("Unable to open video file '" + filename + "': " + e.message());
    }
    return createVideoClip(source, outputMode, precachedFrames, usePower2Stride);
}

void TheoraVideoManager::destroyVideoClip(TheoraVideoClip* clip) {
    std::unique_lock<std::mutex> lock(mutex);
    clipIdle.wait(lock, [&] { return !clip->busy; });
    std::erase_if(clips, [&](const std::unique_ptr<TheoraVideoClip>& c) { return c.get() == clip; });
}

void TheoraVideoManager::wake() {
    // Taking the lock orders this with a worker that is about to wait, so the signal is not lost.
    { std::lock_guard<std::mutex> lock(mutex); }
    workAvailable.notify_all();
}

TheoraVideoClip* TheoraVideoManager::pickClipLocked() {
    TheoraVideoClip* best = nullptr;
    int fewest = INT_MAX;
    for (auto& clip : clips) {
        if (!clip->busy && clip->needsWork()) {
            int ready = clip->getNumReadyFrames();
            if (ready < fewest) {
                best = clip.get();
                fewest = ready;
            }
        }
    }
    return best;
}

void TheoraVideoManager::workerLoop() {
    std::unique_lock<std::mutex> lock(mutex);
    while (!quitting) {
        TheoraVideoClip* clip = pickClipLocked();
        if (!clip) {
            workAvailable.wait_for(lock, IDLE_CHECK);
            continue;
        }
        clip->busy = true;
        lock.unlock();
        clip->decodeStep();
        lock.lock();
        clip->busy = false;
        clipIdle.notify_all();
    }
}
