// Our Theora stream reading on arbitrary bytes: stream selection, header checks, decoding, seeking and
// the conversion of every decoded picture, opaque and as an alpha clip.
#include "reelix/TheoraDataSource.h"
#include "reelix/TheoraStream.h"
#include "reelix/YuvConvert.h"
#include "vessot/Exception.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto* buffer = new unsigned char[size];
    std::copy(data, data + size, buffer);
    TheoraMemoryFileDataSource source(buffer, size, "fuzz");
    try {
        reelix::TheoraStream stream(&source);
        const reelix::StreamInfo& info = stream.getInfo();
        std::vector<uint8_t> pixels((size_t)info.frameWidth * info.frameHeight * 4);
        int alphaOffset = info.pictureWidth / 2;
        int64_t number = 0;
        reelix::YuvPicture picture;
        for (int i = 0; i < 16 && stream.next(number, &picture); ++i) {
            reelix::convertPicture(picture, pixels.data(), info.frameWidth, info.frameHeight, info.frameWidth, -1);
            reelix::convertPicture(picture, pixels.data(), info.frameWidth - alphaOffset, info.frameHeight,
                                   info.frameWidth, alphaOffset);
        }
        stream.seekToFrame(3);
        stream.next(number, nullptr);
    } catch (const vessot::exception&) {
        // A clip that cannot be read is reported, never decoded.
    }
    return 0;
}
