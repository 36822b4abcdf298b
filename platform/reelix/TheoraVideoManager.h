#pragma once
// Owns the clips and the worker threads that decode ahead for all of them, the clip with the fewest
// ready frames first. The worker calls only the clips' data sources, the decoder and the log function.

#include "reelix/TheoraDataSource.h"
#include "reelix/TheoraVideoClip.h"
#include "vessot/Array.h"
#include "vessot/String.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class TheoraVideoManager {
public:
    using LogFunction = void (*)(const vessot::String& message);
    static constexpr int DEFAULT_PRECACHED_FRAMES = 8;

    explicit TheoraVideoManager(int workerCount = 1);
    // Stops the workers and destroys the clips left.
    ~TheoraVideoManager();
    TheoraVideoManager(const TheoraVideoManager&) = delete;
    TheoraVideoManager& operator=(const TheoraVideoManager&) = delete;

    // Where the library's messages go (by default the log's "reelix" channel). Set it while no manager
    // exists; it may be called on a worker thread.
    static void setLogFunction(LogFunction function);
    static void log(const vessot::String& message);

    vessot::Array<vessot::String> getSupportedDecoders() const { return {"Theora"}; }

    // The clip owns the source. outputMode is a TheoraOutputMode; precachedFrames 0 takes the default;
    // usePower2Stride makes frame rows a power of two pixels apart. A clip that cannot load (also for an
    // output mode other than the two) reports width 0 and can still be destroyed.
    TheoraVideoClip* createVideoClip(TheoraDataSource* source, int outputMode = TheoraOutputRGB,
                                     int precachedFrames = 0, bool usePower2Stride = false);
    // The same for a resource file.
    TheoraVideoClip* createVideoClip(const vessot::String& filename, int outputMode = TheoraOutputRGB,
                                     int precachedFrames = 0, bool usePower2Stride = false);
    // Waits for a worker busy with the clip, then deletes it with its source.
    void destroyVideoClip(TheoraVideoClip* clip);

private:
    friend class TheoraVideoClip;

    // Tells the workers that a clip may have work.
    void wake();
    void workerLoop();
    TheoraVideoClip* pickClipLocked();

    std::mutex mutex;
    std::condition_variable workAvailable;
    std::condition_variable clipIdle;
    std::vector<std::unique_ptr<TheoraVideoClip>> clips;
    std::vector<std::thread> workers;
    bool quitting = false;
};
