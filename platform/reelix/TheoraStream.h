#pragma once
// Reading one Theora stream out of an Ogg file: picks the first Theora stream (pages of other streams
// are skipped), checks its headers, and decodes frames in order, with rewinding and seeking to a frame.
// Used by a clip's worker; not thread-safe on its own.

#include "reelix/YuvConvert.h"
#include "vessot/String.h"

#include <cstdint>
#include <memory>

class TheoraDataSource;

namespace reelix {

struct StreamInfo {
    int frameWidth = 0; // the coded frame, a multiple of 16
    int frameHeight = 0;
    int pictureX = 0; // the picture region inside it
    int pictureY = 0;
    int pictureWidth = 0;
    int pictureHeight = 0;
    double fps = 0.0;
    int chromaShiftX = 1;
    int chromaShiftY = 1;
};

class TheoraStream {
public:
    // The largest coded frame side accepted, so that a damaged header cannot ask for gigabytes.
    static constexpr int MAX_SIDE = 4096;

    // Reads the headers from the source (not owned). Throws vessot::exception with the reason when the
    // data holds no usable Theora stream.
    explicit TheoraStream(TheoraDataSource* source);
    ~TheoraStream();
    TheoraStream(const TheoraStream&) = delete;
    TheoraStream& operator=(const TheoraStream&) = delete;

    const StreamInfo& getInfo() const { return info; }

    // Decodes the next frame: false at the end of the stream. frameNumber counts from 0 at the start.
    // With a picture, it stays valid until the next call. Throws vessot::exception on damaged data.
    bool next(int64_t& frameNumber, YuvPicture* picture);
    // Back to frame 0.
    void rewind();
    // The next frame that next() answers is frameNumber (or the end): decoding starts at the keyframe
    // before it.
    void seekToFrame(int64_t frameNumber);

private:
    struct Codec;
    bool readPage();
    bool nextPacket(int64_t& frameNumber);
    void readHeaders();

    TheoraDataSource* source;
    std::unique_ptr<Codec> codec;
    StreamInfo info;
    int64_t nextFrame = 0;  // the number of the next data packet
    int64_t skipBefore = 0; // packets before this one are not decoded (seeking)
    int64_t emitFrom = 0;   // frames before this one are decoded but not answered (seeking)
};

} // namespace reelix
