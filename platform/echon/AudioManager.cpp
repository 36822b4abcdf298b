#include "echon/AudioManager.h"

#include "echon/Device.h"
#include "vessot/Exception.h"
#include "vessot/File.h"
#include "vessot/Log.h"

#include <algorithm>
#include <chrono>
#include <climits>

namespace echon {

AudioManager* mgr = nullptr;

namespace {

const char* const CHANNEL = "echon";
// Mixing works in blocks this long so that fades and gain changes move smoothly.
constexpr int BLOCK_FRAMES = 256;
// What the audio thread keeps queued for the device: 80 ms.
constexpr int QUEUE_FRAMES = AudioManager::SAMPLE_RATE * 80 / 1000;
// Frames of in-memory sounds decoded per round of the audio thread: about a second of sound, a
// millisecond or two of work, so that loading never starves the device.
constexpr int LOAD_BUDGET = AudioManager::SAMPLE_RATE;

bool isSoundFile(const vessot::String& file) {
    vessot::String lower = file.lowered();
    return lower.endsWith(".ogg") || lower.endsWith(".wav");
}

vessot::String stem(const vessot::String& path) {
    vessot::String base = vessot::DirBase::basename(path);
    size_t dot = base.rfind('.');
    return dot == std::string::npos ? base : base.substr(0, dot);
}

} // namespace

AudioManager::AudioManager(const vessot::String& systemName) : name(systemName) {}

AudioManager::~AudioManager() {
    if (thread.joinable()) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            quitting = true;
        }
        wake.notify_all();
        thread.join();
    }
    device.reset();
    players.clear();
    sounds.clear();
}

bool AudioManager::openDevice(const vessot::String& deviceName, bool threaded, float updateInterval) {
    vessot::String error;
    device = Device::open(deviceName, SAMPLE_RATE, error);
    if (!device) {
        vessot::Log::write(CHANNEL, "No sound device (" + error + "): audio disabled");
        return false;
    }
    this->threaded = threaded;
    if (threaded) {
        thread = std::thread(&AudioManager::threadLoop, this, updateInterval > 0.0f ? updateInterval : 0.01f);
    }
    return true;
}

void AudioManager::threadLoop(float updateInterval) {
    auto period = std::chrono::duration<float>(updateInterval);
    std::unique_lock<std::mutex> lock(mutex);
    while (!quitting) {
        pumpLocked();
        wake.wait_for(lock, period, [this] { return quitting; });
    }
}

void AudioManager::pumpLocked() {
    int64_t queued = device->queuedFrames();
    loadLocked(LOAD_BUDGET);
    if (!suspended && queued < QUEUE_FRAMES) {
        int frames = (int)(QUEUE_FRAMES - queued);
        scratch.resize((size_t)frames * 2);
        render(scratch.data(), frames);
        device->queue(scratch.data(), frames);
        queued += frames;
    }
    publishPositionsLocked(mixedFrames - (uint64_t)queued);
}

void AudioManager::render(float* out, int frames) {
    std::fill(out, out + (size_t)frames * 2, 0.0f);
    float global = globalGain;
    for (int done = 0; done < frames; done += BLOCK_FRAMES) {
        int n = std::min(BLOCK_FRAMES, frames - done);
        mixedFrames += (uint64_t)n;
        for (auto& player : players) {
            float base = global * player->sound->getCategory()->getGain() * player->getGain();
            player->mix(out + 2 * done, n, base, SAMPLE_RATE, mixedFrames);
        }
    }
    // Sounds playing together may add up past full scale; the device gets no more than full scale.
    for (size_t i = 0; i < (size_t)frames * 2; ++i) {
        out[i] = std::min(std::max(out[i], -1.0f), 1.0f);
    }
    removePlayersLocked([](Player* p) { return p->managed && p->state == Player::STOPPED; });
}

void AudioManager::mix(float* out, int frames) {
    if (name != "Offline") {
        VESSOT_THROW("AudioManager::mix needs the Offline audio system, not " + name);
    }
    std::lock_guard<std::mutex> lock(mutex);
    loadLocked(INT_MAX);
    if (suspended) {
        std::fill(out, out + (size_t)frames * 2, 0.0f);
        return;
    }
    render(out, frames);
    publishPositionsLocked(mixedFrames);
}

void AudioManager::loadLocked(int budget) {
    while (budget > 0 && !loadQueue.empty()) {
        Sound* sound = loadQueue.front();
        budget -= sound->loadSome(budget);
        if (sound->load != Sound::Load::LOADING) {
            loadQueue.pop_front();
        }
    }
}

void AudioManager::requestLoadLocked(Sound* sound, bool urgent) {
    if (sound->load == Sound::Load::READY || sound->load == Sound::Load::FAILED) {
        return;
    }
    auto it = std::find(loadQueue.begin(), loadQueue.end(), sound);
    if (it != loadQueue.end()) {
        if (!urgent) {
            return;
        }
        loadQueue.erase(it);
    }
    if (urgent) {
        loadQueue.push_front(sound);
    } else {
        loadQueue.push_back(sound);
    }
}

void AudioManager::publishPositionsLocked(uint64_t consumedFrame) {
    for (auto& player : players) {
        player->publishPosition(consumedFrame);
    }
}

void AudioManager::removePlayersLocked(const std::function<bool(Player*)>& which) {
    std::erase_if(players, [&](const std::unique_ptr<Player>& p) { return which(p.get()); });
}

Category* AudioManager::createCategory(const vessot::String& categoryName, int bufferMode, int sourceMode) {
    if (bufferMode != BUFFER_FULL && bufferMode != BUFFER_ON_DEMAND && bufferMode != BUFFER_STREAM) {
        VESSOT_THROW("Unknown buffer mode " + vessot::String(bufferMode) + " for audio category '" + categoryName +
                     "'");
    }
    if (sourceMode != SOURCE_RESOURCE) {
        VESSOT_THROW("Unknown source mode " + vessot::String(sourceMode) + " for audio category '" + categoryName +
                     "'");
    }
    std::lock_guard<std::mutex> lock(mutex);
    for (auto& category : categories) {
        if (category->getName() == categoryName) {
            return category.get();
        }
    }
    categories.push_back(std::make_unique<Category>(categoryName, bufferMode, sourceMode));
    return categories.back().get();
}

Category* AudioManager::getCategory(const vessot::String& categoryName) {
    std::lock_guard<std::mutex> lock(mutex);
    for (auto& category : categories) {
        if (category->getName() == categoryName) {
            return category.get();
        }
    }
    VESSOT_THROW("Audio category not found: " + categoryName);
}

bool AudioManager::hasCategory(const vessot::String& categoryName) const {
    return std::any_of(categories.begin(), categories.end(),
                       [&](const std::unique_ptr<Category>& c) { return c->getName() == categoryName; });
}

vessot::Array<Sound*> AudioManager::createSoundsFromPath(const vessot::String& folder, const vessot::String& prefix) {
    vessot::Array<Sound*> created;
    auto addFolder = [&](const vessot::String& path, const vessot::String& category) {
        if (!hasCategory(category)) {
            vessot::Log::write(CHANNEL, "Sound folder '" + path + "' names no audio category '" + category +
                                            "': its files are skipped");
            return;
        }
        for (const vessot::String& file : vessot::ResourceDir::files(path)) {
            if (isSoundFile(file)) {
                created.add(createSound(vessot::DirBase::join(path, file), category, prefix));
            }
        }
    };
    if (!vessot::ResourceDir::exists(folder)) {
        return created;
    }
    vessot::Array<vessot::String> files = vessot::ResourceDir::files(folder);
    if (std::any_of(files.begin(), files.end(), isSoundFile)) {
        addFolder(folder, "fx");
    }
    for (const vessot::String& sub : vessot::ResourceDir::directories(folder)) {
        addFolder(vessot::DirBase::join(folder, sub), sub);
    }
    return created;
}

Sound* AudioManager::createSound(const vessot::String& path, const vessot::String& categoryName,
                                 const vessot::String& prefix) {
    Category* category = getCategory(categoryName);
    vessot::String base = prefix + stem(path);
    std::lock_guard<std::mutex> lock(mutex);
    vessot::String unique = base;
    for (int n = 2; soundsByName.count(unique); ++n) {
        unique = base + "#" + n;
    }
    sounds.push_back(std::make_unique<Sound>(unique, path, category));
    Sound* sound = sounds.back().get();
    soundsByName[unique] = sound;
    if (!silent() && category->getBufferMode() == BUFFER_FULL) {
        requestLoadLocked(sound, false);
    }
    return sound;
}

Sound* AudioManager::findSoundLocked(const vessot::String& soundName) {
    auto it = soundsByName.find(soundName);
    return it == soundsByName.end() ? nullptr : it->second;
}

void AudioManager::destroySoundLocked(Sound* sound) {
    removePlayersLocked([&](Player* p) { return p->sound == sound; });
    std::erase(loadQueue, sound);
    soundsByName.erase(sound->getName());
    std::erase_if(sounds, [&](const std::unique_ptr<Sound>& s) { return s.get() == sound; });
}

void AudioManager::destroySound(Sound* sound) {
    std::lock_guard<std::mutex> lock(mutex);
    if (sound && findSoundLocked(sound->getName()) == sound) {
        destroySoundLocked(sound);
    }
}

void AudioManager::destroySoundsWithPrefix(const vessot::String& prefix) {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<Sound*> doomed;
    for (auto& sound : sounds) {
        if (sound->getName().startsWith(prefix)) {
            doomed.push_back(sound.get());
        }
    }
    for (Sound* sound : doomed) {
        destroySoundLocked(sound);
    }
}

Player* AudioManager::createPlayer(const vessot::String& soundName) {
    std::lock_guard<std::mutex> lock(mutex);
    Sound* sound = findSoundLocked(soundName);
    if (!sound) {
        VESSOT_THROW("Sound not found: " + soundName);
    }
    players.push_back(std::make_unique<Player>(this, sound, false));
    return players.back().get();
}

void AudioManager::destroyPlayer(Player* player) {
    std::lock_guard<std::mutex> lock(mutex);
    removePlayersLocked([&](Player* p) { return p == player; });
}

void AudioManager::play(const vessot::String& soundName, float fadeTime, bool looping, float gain) {
    std::lock_guard<std::mutex> lock(mutex);
    Sound* sound = findSoundLocked(soundName);
    if (!sound) {
        vessot::Log::write(CHANNEL, "Unable to play sound '" + soundName + "': no such sound");
        return;
    }
    if (silent()) {
        return;
    }
    players.push_back(std::make_unique<Player>(this, sound, true));
    players.back()->setGain(gain);
    players.back()->playLocked(fadeTime, looping);
}

void AudioManager::stop(const vessot::String& soundName, float fadeTime) {
    std::lock_guard<std::mutex> lock(mutex);
    for (auto& player : players) {
        if (player->managed && player->sound->getName() == soundName) {
            player->stopLocked(fadeTime);
        }
    }
    removePlayersLocked([](Player* p) { return p->managed && p->state == Player::STOPPED; });
}

void AudioManager::stopAll(float fadeTime) {
    std::lock_guard<std::mutex> lock(mutex);
    for (auto& player : players) {
        player->stopLocked(fadeTime);
    }
    removePlayersLocked([](Player* p) { return p->managed && p->state == Player::STOPPED; });
}

bool AudioManager::isAnyPlaying(const vessot::String& soundName) {
    std::lock_guard<std::mutex> lock(mutex);
    return std::any_of(players.begin(), players.end(), [&](const std::unique_ptr<Player>& p) {
        return p->sound->getName() == soundName && p->isPlaying();
    });
}

void AudioManager::update(float) {
    if (device && !threaded) {
        std::lock_guard<std::mutex> lock(mutex);
        pumpLocked();
    }
}

void AudioManager::suspendAudio() {
    std::lock_guard<std::mutex> lock(mutex);
    if (!suspended) {
        suspended = true;
        if (device) {
            device->setPaused(true);
        }
    }
}

void AudioManager::resumeAudio() {
    std::lock_guard<std::mutex> lock(mutex);
    if (suspended) {
        suspended = false;
        if (device) {
            device->setPaused(false);
        }
    }
}

void AudioManager::clearMemory() {
    std::lock_guard<std::mutex> lock(mutex);
    for (auto& sound : sounds) {
        bool inUse = std::any_of(players.begin(), players.end(), [&](const std::unique_ptr<Player>& p) {
            return p->sound == sound.get() && p->state != Player::STOPPED;
        });
        if (sound->getCategory()->getBufferMode() == BUFFER_ON_DEMAND && !inUse) {
            std::erase(loadQueue, sound.get());
            sound->unload();
        }
    }
}

void init(const vessot::String& systemName, void*, bool threaded, float updateInterval,
          const vessot::String& deviceName) {
    destroy();
    if (systemName == "Disabled" || systemName == "Offline") {
        mgr = new AudioManager(systemName);
        return;
    }
    if (!systemName.empty() && systemName != "SDL") {
        vessot::Log::write(CHANNEL, "Unknown audio system '" + systemName + "': audio disabled");
        mgr = new AudioManager("Disabled");
        return;
    }
    auto* manager = new AudioManager("SDL");
    if (!manager->openDevice(deviceName, threaded, updateInterval)) {
        manager->name = "Disabled";
    }
    mgr = manager;
}

void destroy() {
    delete mgr;
    mgr = nullptr;
}

} // namespace echon
