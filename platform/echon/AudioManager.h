#pragma once
// The audio manager: categories, sounds and players, mixed to stereo floats at 44.1 kHz.
//
// Systems (the name given to init):
//   ""/"SDL"   the sound device through SDL's audio subsystem (its dummy driver when ZEPH_HEADLESS=1).
//              Threaded, one audio thread of ours wakes every update interval: it decodes, refills
//              streams, advances fades and mixes, keeping about 80 ms queued for the device.
//              Without a device the manager runs as "Disabled" and logs why.
//   "Disabled" silent: every call succeeds and returns real objects, nothing ever plays.
//   "Offline"  no device and no thread: sound advances only through mix(), for tests and benchmarks.
//
// Gain of a sample = global x category x player x fade. Sound names must be unique: createSound gives
// a name already in use a suffix "#2", "#3", ... (the first one free), which getName() reports.

#include "echon/Category.h"
#include "echon/Player.h"
#include "echon/Sound.h"
#include "vessot/Array.h"
#include "vessot/String.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace echon {

class Device;

class AudioManager {
public:
    static constexpr int SAMPLE_RATE = 44100;

    // Use echon::init, which also opens the device; this constructor makes a manager of the given
    // system without one ("Disabled" or "Offline").
    explicit AudioManager(const vessot::String& systemName);
    ~AudioManager();
    AudioManager(const AudioManager&) = delete;
    AudioManager& operator=(const AudioManager&) = delete;

    // "SDL", "Disabled" or "Offline".
    const vessot::String& getName() const { return name; }

    // bufferMode is one of BufferMode, sourceMode SOURCE_RESOURCE; other values throw. A name that
    // exists already answers the existing category.
    Category* createCategory(const vessot::String& name, int bufferMode, int sourceMode);
    // Throws vessot::exception for an unknown name.
    Category* getCategory(const vessot::String& name);
    bool hasCategory(const vessot::String& name) const;
    // Held from 0 to 1, as a category's gain.
    void setGlobalGain(float value) { globalGain = unitGain(value); }
    float getGlobalGain() const { return globalGain; }

    // Every ".ogg" and ".wav" file of folder (category "fx") and of folder/<category>/ for each existing
    // category, named prefix + file name without extension. A missing folder gives an empty list.
    vessot::Array<Sound*> createSoundsFromPath(const vessot::String& folder, const vessot::String& prefix);
    // The file is read when its category's buffer mode says so; a file that cannot be read is logged
    // then and the sound stays silent. Throws vessot::exception for an unknown category.
    Sound* createSound(const vessot::String& path, const vessot::String& category, const vessot::String& prefix);
    // Frees exactly this sound, with every player of it.
    void destroySound(Sound* sound);
    // Stops and frees every sound whose name starts with prefix, with their players.
    void destroySoundsWithPrefix(const vessot::String& prefix);
    // Throws vessot::exception for an unknown sound name.
    Player* createPlayer(const vessot::String& soundName);
    void destroyPlayer(Player* player);

    // Plays a managed instance, freed when it ends. An unknown name is logged and ignored.
    void play(const vessot::String& name, float fadeTime = 0.0f, bool looping = false, float gain = 1.0f);
    // Stops every managed instance of that sound.
    void stop(const vessot::String& name, float fadeTime = 0.0f);
    // Stops every player.
    void stopAll(float fadeTime = 0.0f);
    // Whether any player of that sound plays.
    bool isAnyPlaying(const vessot::String& name);
    // Called every frame. Threaded, the audio thread keeps the time, so this does nothing; without a
    // thread it feeds the device.
    void update(float seconds);
    // Silences the device and freezes every player until resumeAudio; each is idempotent.
    void suspendAudio();
    void resumeAudio();
    bool isSuspended() const { return suspended; }
    // Frees the samples of on-demand sounds that are not playing.
    void clearMemory();

    // Mixes frames stereo frames (interleaved, SAMPLE_RATE) into out, replacing its contents, and
    // advances every player as a device would. Only for the "Offline" system; elsewhere it throws.
    void mix(float* out, int frames);

private:
    friend void init(const vessot::String&, void*, bool, float, const vessot::String&);
    friend class Player;

    bool openDevice(const vessot::String& deviceName, bool threaded, float updateInterval);
    void threadLoop(float updateInterval);
    // One round of the device feed: load, mix what the device lacks, publish positions.
    void pumpLocked();
    void render(float* out, int frames);
    // Decodes up to budget frames of sounds waiting to be loaded, those with players first.
    void loadLocked(int budget);
    void requestLoadLocked(Sound* sound, bool urgent);
    void publishPositionsLocked(uint64_t consumedFrame);
    void removePlayersLocked(const std::function<bool(Player*)>& which);
    Sound* findSoundLocked(const vessot::String& name);
    void destroySoundLocked(Sound* sound);
    bool silent() const { return name == "Disabled"; }

    vessot::String name;
    std::atomic<float> globalGain{1.0f};
    std::atomic<bool> suspended{false};

    std::mutex mutex;
    std::vector<std::unique_ptr<Category>> categories;
    std::vector<std::unique_ptr<Sound>> sounds;
    std::unordered_map<vessot::String, Sound*> soundsByName;
    std::vector<std::unique_ptr<Player>> players;
    std::deque<Sound*> loadQueue;
    uint64_t mixedFrames = 0;
    std::vector<float> scratch;

    std::unique_ptr<Device> device;
    bool threaded = false;
    std::thread thread;
    std::condition_variable wake;
    bool quitting = false;
};

// Creates the global manager (destroying an earlier one). nativeWindowHandle is not needed by this
// implementation; updateInterval is the audio thread's period in seconds; deviceName "" is the default
// output device.
void init(const vessot::String& systemName, void* nativeWindowHandle = nullptr, bool threaded = true,
          float updateInterval = 0.01f, const vessot::String& deviceName = "");
// Stops the audio thread, closes the device and frees the manager.
void destroy();

extern AudioManager* mgr;

} // namespace echon
