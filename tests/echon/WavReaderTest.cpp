#include "echon/WavReader.h"
#include "MediaGen.h"
#include "vessot/Exception.h"

#include <gtest/gtest.h>

#include <cstring>

using echon::MemorySource;

namespace {

mediagen::Bytes sample(int channels = 2, int bits = 16) {
    return mediagen::wav(std::vector<float>(100 * channels, 0.5f), 22050, channels, bits);
}

void put16(mediagen::Bytes& b, size_t at, uint16_t v) {
    b[at] = (uint8_t)v;
    b[at + 1] = (uint8_t)(v >> 8);
}

std::string failure(const mediagen::Bytes& bytes) {
    try {
        MemorySource source(bytes.data(), bytes.size());
        echon::readWavHeader(source);
    } catch (const vessot::exception& e) {
        return e.message();
    }
    return "";
}

} // namespace

TEST(WavReader, ReadsTheFormatAndTheSamples) {
    mediagen::Bytes bytes = sample(1, 8);
    echon::WavDecoder decoder(std::make_unique<MemorySource>(bytes.data(), bytes.size()));
    EXPECT_EQ(decoder.getChannels(), 1);
    EXPECT_EQ(decoder.getRate(), 22050);
    EXPECT_EQ(decoder.getTotalFrames(), 100);
    float out[128];
    EXPECT_EQ(decoder.read(out, 128), 100);
    EXPECT_NEAR(out[99], 0.5f, 0.01f);
    EXPECT_EQ(decoder.read(out, 128), 0);
    decoder.rewind();
    EXPECT_EQ(decoder.read(out, 10), 10);
}

TEST(WavReader, SkipsUnknownChunksWithTheirPadByte) {
    mediagen::Bytes bytes = sample();
    // An odd-sized "LIST" chunk between "fmt " and "data" is followed by one pad byte.
    mediagen::Bytes list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    bytes.insert(bytes.begin() + 36, list.begin(), list.end());
    MemorySource source(bytes.data(), bytes.size());
    echon::WavFormat format = echon::readWavHeader(source);
    EXPECT_EQ(format.dataOffset, 36 + 12 + 8);
    EXPECT_EQ(format.dataFrames, 100);
}

TEST(WavReader, RejectsWhatItCannotPlay) {
    struct Case {
        const char* name;
        std::function<void(mediagen::Bytes&)> damage;
        const char* message;
    };
    const Case cases[] = {
        {"not RIFF", [](mediagen::Bytes& b) { b[0] = 'X'; }, "not a WAV file"},
        {"empty", [](mediagen::Bytes& b) { b.clear(); }, "not a WAV file"},
        {"compressed", [](mediagen::Bytes& b) { put16(b, 20, 2); }, "is not PCM"},
        {"3 channels", [](mediagen::Bytes& b) { put16(b, 22, 3); }, "3 channels"},
        {"24-bit", [](mediagen::Bytes& b) { put16(b, 34, 24); }, "24-bit"},
        {"rate 0", [](mediagen::Bytes& b) { std::memset(&b[24], 0, 4); }, "sample rate"},
        {"data cut", [](mediagen::Bytes& b) { b.resize(60); }, "truncated"},
        {"no data chunk", [](mediagen::Bytes& b) { b.resize(36); }, "no data chunk"},
        {"data before fmt", [](mediagen::Bytes& b) { std::memcpy(&b[12], "data", 4); }, "before the format"},
        {"short fmt", [](mediagen::Bytes& b) { b[16] = 8; }, "too short"},
        {"huge chunk", [](mediagen::Bytes& b) { std::memcpy(&b[12], "junk", 4), b[19] = 0x7f; }, "no data chunk"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mediagen::Bytes bytes = sample();
        c.damage(bytes);
        EXPECT_NE(failure(bytes).find(c.message), std::string::npos) << failure(bytes);
    }
}
