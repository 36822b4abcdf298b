#include "echon/Device.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

namespace echon {

namespace {
constexpr int FRAME_BYTES = 2 * sizeof(float);
}

std::unique_ptr<Device> Device::open(const vessot::String& deviceName, int rate, vessot::String& error) {
    const char* headless = std::getenv("ZEPH_HEADLESS");
    if (headless && std::strcmp(headless, "1") == 0) {
        SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error = SDL_GetError();
        return nullptr;
    }
    SDL_AudioSpec wanted;
    SDL_zero(wanted);
    wanted.freq = rate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 2;
    wanted.samples = 512;
    SDL_AudioSpec obtained;
    // No changes allowed: SDL converts our frames to whatever the hardware takes.
    SDL_AudioDeviceID id =
        SDL_OpenAudioDevice(deviceName.empty() ? nullptr : deviceName.c_str(), 0, &wanted, &obtained, 0);
    if (id == 0) {
        error = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    SDL_PauseAudioDevice(id, 0);
    return std::unique_ptr<Device>(new Device(id));
}

Device::~Device() {
    SDL_CloseAudioDevice(id);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

int64_t Device::queuedFrames() const {
    return SDL_GetQueuedAudioSize(id) / FRAME_BYTES;
}

void Device::queue(const float* frames, int count) {
    SDL_QueueAudio(id, frames, (Uint32)(count * FRAME_BYTES));
}

void Device::setPaused(bool paused) {
    SDL_PauseAudioDevice(id, paused ? 1 : 0);
}

} // namespace echon
