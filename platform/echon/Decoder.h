#pragma once
// Sound decoding inside the audio layer: byte sources (a game resource or a memory block) and the
// decoders that turn WAV or Ogg Vorbis bytes into interleaved float samples in [-1, 1].

#include "vessot/File.h"
#include "vessot/String.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace echon {

// Random-access bytes a decoder reads.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Answers how many bytes were read (0 at the end).
    virtual size_t read(void* buffer, size_t count) = 0;
    virtual bool seek(int64_t position) = 0;
    virtual int64_t tell() = 0;
    virtual int64_t size() = 0;
};

// A game resource, read through vessot::Resource.
class ResourceSource : public ByteSource {
public:
    // Throws vessot::exception (naming the file) when it cannot be opened.
    explicit ResourceSource(const vessot::String& path);
    size_t read(void* buffer, size_t count) override;
    bool seek(int64_t position) override;
    int64_t tell() override;
    int64_t size() override;

private:
    vessot::Resource resource;
};

// Bytes held by someone else for the source's lifetime.
class MemorySource : public ByteSource {
public:
    MemorySource(const uint8_t* data, size_t size) : data(data), length(size) {}
    size_t read(void* buffer, size_t count) override;
    bool seek(int64_t position) override;
    int64_t tell() override { return (int64_t)offset; }
    int64_t size() override { return (int64_t)length; }

private:
    const uint8_t* data;
    size_t length;
    size_t offset = 0;
};

class Decoder {
public:
    virtual ~Decoder() = default;
    // Reads up to maxFrames interleaved frames; 0 at the end of the sound. Throws vessot::exception
    // when the data turns out to be damaged.
    virtual int read(float* out, int maxFrames) = 0;
    // Back to the first frame.
    virtual void rewind() = 0;
    int getChannels() const { return channels; }
    int getRate() const { return rate; }
    // The sound's length in frames, or -1 when unknown.
    int64_t getTotalFrames() const { return totalFrames; }

    // Opens a WAV or Ogg Vorbis decoder, chosen by the first bytes. Throws vessot::exception with the
    // reason when the data is neither, or its headers are damaged or unsupported.
    static std::unique_ptr<Decoder> open(std::unique_ptr<ByteSource> source);
    // The same over a resource file; messages name the file.
    static std::unique_ptr<Decoder> openFile(const vessot::String& path);

protected:
    int channels = 0;
    int rate = 0;
    int64_t totalFrames = -1;
};

} // namespace echon
