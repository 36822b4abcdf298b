// Our WAV reader on arbitrary bytes: the header walk, then decoding whatever it accepts.
#include "echon/WavReader.h"
#include "vessot/Exception.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        echon::WavDecoder decoder(std::make_unique<echon::MemorySource>(data, size));
        std::vector<float> out(4096 * 2);
        while (decoder.read(out.data(), 4096) > 0) {
        }
        decoder.rewind();
        decoder.read(out.data(), 16);
    } catch (const vessot::exception&) {
        // Rejected input is the expected outcome for most of it.
    }
    return 0;
}
