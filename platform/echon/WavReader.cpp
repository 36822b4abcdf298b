#include "echon/WavReader.h"

#include "vessot/Exception.h"

#include <algorithm>
#include <cstring>

namespace echon {

namespace {

uint32_t le32(const uint8_t* p) {
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}
uint16_t le16(const uint8_t* p) {
    return (uint16_t)(p[0] | p[1] << 8);
}

void readExactly(ByteSource& source, uint8_t* buffer, size_t count, const char* what) {
    if (source.read(buffer, count) != count) {
        VESSOT_THROW(vessot::String("WAV file cut short in its ") + what);
    }
}

WavFormat parseFmt(const uint8_t* p) {
    if (le16(p) != 1) {
        VESSOT_THROW("WAV file is not PCM (format tag " + vessot::String((int)le16(p)) + ")");
    }
    WavFormat format;
    format.channels = le16(p + 2);
    format.rate = (int)std::min<uint32_t>(le32(p + 4), 0x7fffffff);
    format.bits = le16(p + 14);
    if (format.channels != 1 && format.channels != 2) {
        VESSOT_THROW("WAV file has " + vessot::String(format.channels) + " channels (1 or 2 are supported)");
    }
    if (format.bits != 8 && format.bits != 16) {
        VESSOT_THROW("WAV file has " + vessot::String(format.bits) + "-bit samples (8 or 16 are supported)");
    }
    if (format.rate < 1000 || format.rate > 384000) {
        VESSOT_THROW("WAV file has an unsupported sample rate " + vessot::String(format.rate));
    }
    return format;
}

} // namespace

WavFormat readWavHeader(ByteSource& source) {
    uint8_t riff[12];
    if (source.read(riff, 12) != 12 || std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0) {
        VESSOT_THROW("not a WAV file");
    }
    bool haveFormat = false;
    WavFormat format;
    for (;;) {
        uint8_t chunk[8];
        readExactly(source, chunk, 8, "chunk list (no data chunk)");
        int64_t size = le32(chunk + 4);
        int64_t next = source.tell() + size + (size & 1);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16) {
                VESSOT_THROW("WAV format chunk is too short");
            }
            uint8_t fmt[16];
            readExactly(source, fmt, 16, "format chunk");
            format = parseFmt(fmt);
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) {
                VESSOT_THROW("WAV data chunk comes before the format chunk");
            }
            format.dataOffset = source.tell();
            if (format.dataOffset + size > source.size()) {
                VESSOT_THROW("WAV file is truncated: its data chunk holds " + vessot::String((long long)size) +
                             " bytes, the file has " + vessot::String((long long)(source.size() - format.dataOffset)));
            }
            format.dataFrames = size / (format.channels * format.bits / 8);
            return format;
        }
        if (next > source.size() || !source.seek(next)) {
            VESSOT_THROW("WAV file cut short in its chunk list (no data chunk)");
        }
    }
}

WavDecoder::WavDecoder(std::unique_ptr<ByteSource> source) : source(std::move(source)) {
    format = readWavHeader(*this->source);
    channels = format.channels;
    rate = format.rate;
    totalFrames = format.dataFrames;
}

int WavDecoder::read(float* out, int maxFrames) {
    int frames = (int)std::min<int64_t>(maxFrames, format.dataFrames - framesRead);
    if (frames <= 0) {
        return 0;
    }
    size_t bytesPerSample = (size_t)format.bits / 8;
    size_t samples = (size_t)frames * channels;
    raw.resize(samples * bytesPerSample);
    if (source->read(raw.data(), raw.size()) != raw.size()) {
        VESSOT_THROW("WAV file is truncated");
    }
    if (bytesPerSample == 1) {
        for (size_t i = 0; i < samples; ++i) {
            out[i] = ((int)raw[i] - 128) * (1.0f / 128.0f);
        }
    } else {
        for (size_t i = 0; i < samples; ++i) {
            out[i] = (int16_t)le16(&raw[2 * i]) * (1.0f / 32768.0f);
        }
    }
    framesRead += frames;
    return frames;
}

void WavDecoder::rewind() {
    source->seek(format.dataOffset);
    framesRead = 0;
}

} // namespace echon
