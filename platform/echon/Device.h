#pragma once
// The sound device: SDL's audio subsystem, fed by queueing stereo float frames.

#include "vessot/String.h"

#include <cstdint>
#include <memory>

namespace echon {

class Device {
public:
    // Opens SDL's audio subsystem and the device (the default one for ""); with ZEPH_HEADLESS=1 SDL's
    // dummy driver. Null (and the reason in error) when there is no device.
    static std::unique_ptr<Device> open(const vessot::String& deviceName, int rate, vessot::String& error);
    // Closes the device and SDL's audio subsystem (never the rest of SDL).
    ~Device();

    // Frames queued and not yet taken by the device.
    int64_t queuedFrames() const;
    void queue(const float* frames, int count);
    void setPaused(bool paused);

private:
    explicit Device(uint32_t id) : id(id) {}
    uint32_t id;
};

} // namespace echon
