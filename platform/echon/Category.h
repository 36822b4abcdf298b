#pragma once
// A group of sounds sharing a gain and a way of keeping samples ("fx", "music", "ambient", ...).

#include "vessot/String.h"

#include <algorithm>
#include <atomic>

namespace echon {

// A gain held from 0 to 1: one outside counts as the nearer end, one that is not a number as 0.
inline float unitGain(float value) {
    return value > 0.0f ? std::min(value, 1.0f) : 0.0f;
}

// How a category's sounds keep their samples; the numbers are the ones createCategory takes.
enum BufferMode {
    // Decoded whole into memory on the audio thread soon after the sound is created.
    BUFFER_FULL = 2,
    // Decoded whole at the first play; clearMemory frees the samples of sounds not playing.
    BUFFER_ON_DEMAND = 3,
    // Decoded bit by bit while playing; every player reads the file on its own.
    BUFFER_STREAM = 4,
};

// Where the bytes come from: the game's resource files.
enum SourceMode { SOURCE_RESOURCE = 0 };

class Category {
public:
    Category(const vessot::String& name, int bufferMode, int sourceMode)
        : name(name), bufferMode(bufferMode), sourceMode(sourceMode) {}
    Category(const Category&) = delete;
    Category& operator=(const Category&) = delete;

    const vessot::String& getName() const { return name; }
    int getBufferMode() const { return bufferMode; }
    int getSourceMode() const { return sourceMode; }
    bool isStreamed() const { return bufferMode == BUFFER_STREAM; }
    // Held from 0 to 1 (unitGain). Safe to call while the audio thread mixes.
    void setGain(float value) { gain = unitGain(value); }
    float getGain() const { return gain; }

private:
    vessot::String name;
    int bufferMode;
    int sourceMode;
    std::atomic<float> gain{1.0f};
};

} // namespace echon
