#pragma once
// Our WAV reader: RIFF/WAVE files holding PCM samples of 8 or 16 bits, mono or stereo, at any rate.

#include "echon/Decoder.h"

namespace echon {

struct WavFormat {
    int channels = 0;
    int rate = 0;
    int bits = 0;
    int64_t dataOffset = 0;
    int64_t dataFrames = 0;
};

// Reads the header chunks up to the data chunk. Throws vessot::exception with the reason when the
// file is not a WAV file we can play or is cut short.
WavFormat readWavHeader(ByteSource& source);

class WavDecoder : public Decoder {
public:
    explicit WavDecoder(std::unique_ptr<ByteSource> source);
    int read(float* out, int maxFrames) override;
    void rewind() override;

private:
    std::unique_ptr<ByteSource> source;
    WavFormat format;
    int64_t framesRead = 0;
    std::vector<uint8_t> raw;
};

} // namespace echon
