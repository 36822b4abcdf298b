#pragma once
// A named sound file of a category. Its samples are decoded according to the category's buffer mode.

#include "vessot/String.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace echon {

class Category;
class Decoder;

class Sound {
public:
    Sound(const vessot::String& name, const vessot::String& filename, Category* category);
    ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    const vessot::String& getName() const { return name; }
    const vessot::String& getFilename() const { return filename; }
    Category* getCategory() const { return category; }

private:
    friend class AudioManager;
    friend class Player;

    enum class Load { UNLOADED, LOADING, READY, FAILED };

    // Decodes up to budget more frames into memory (opening the file first); answers the frames
    // decoded. A file that cannot be read is logged and leaves the sound FAILED.
    int loadSome(int budget);
    void unload();
    int64_t decodedFrames() const { return channels ? (int64_t)samples.size() / channels : 0; }
    void fail(const vessot::String& reason);

    vessot::String name;
    vessot::String filename;
    Category* category;
    Load load = Load::UNLOADED;
    std::unique_ptr<Decoder> loader;
    std::vector<float> samples; // interleaved, channels per frame
    int channels = 0;
    int rate = 0;
};

} // namespace echon
