#include "echon/Sound.h"

#include "echon/Decoder.h"
#include "vessot/Exception.h"
#include "vessot/Log.h"

#include <algorithm>

namespace echon {

Sound::Sound(const vessot::String& name, const vessot::String& filename, Category* category)
    : name(name), filename(filename), category(category) {}

Sound::~Sound() = default;

int Sound::loadSome(int budget) {
    if (load == Load::READY || load == Load::FAILED) {
        return 0;
    }
    try {
        if (!loader) {
            loader = Decoder::openFile(filename);
            channels = loader->getChannels();
            rate = loader->getRate();
            samples.clear();
            load = Load::LOADING;
        }
        int done = 0;
        while (done < budget) {
            size_t old = samples.size();
            int want = std::min(4096, budget - done);
            samples.resize(old + (size_t)want * channels);
            int got = loader->read(samples.data() + old, want);
            samples.resize(old + (size_t)got * channels);
            if (got == 0) {
                load = Load::READY;
                loader.reset();
                samples.shrink_to_fit();
                break;
            }
            done += got;
        }
        return done;
    } catch (const vessot::exception& e) {
        fail(e.message());
        return 0;
    }
}

void Sound::unload() {
    loader.reset();
    samples.clear();
    samples.shrink_to_fit();
    load = Load::UNLOADED;
}

void Sound::fail(const vessot::String& reason) {
    vessot::Log::write("echon", "Unable to load sound '" + name + "' from '" + filename + "': " + reason);
    unload();
    load = Load::FAILED;
}

} // namespace echon
