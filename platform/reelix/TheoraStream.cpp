#include "reelix/TheoraStream.h"

#include "reelix/TheoraDataSource.h"
#include "vessot/Exception.h"

#include <ogg/ogg.h>
#include <theora/theoradec.h>

namespace reelix {

struct TheoraStream::Codec {
    Codec() {
        ogg_sync_init(&sync);
        th_info_init(&info);
        th_comment_init(&comment);
    }
    ~Codec() {
        if (decoder) {
            th_decode_free(decoder);
        }
        th_setup_free(setup);
        th_comment_clear(&comment);
        th_info_clear(&info);
        if (haveStream) {
            ogg_stream_clear(&stream);
        }
        ogg_sync_clear(&sync);
    }

    ogg_sync_state sync;
    ogg_page page;
    ogg_stream_state stream;
    ogg_packet packet;
    bool haveStream = false;
    int serial = 0;
    th_info info;
    th_comment comment;
    th_setup_info* setup = nullptr;
    th_dec_ctx* decoder = nullptr;
};

namespace {

constexpr int READ_CHUNK = 16384;

bool isHeaderPacket(const ogg_packet& packet) {
    return packet.bytes > 0 && (packet.packet[0] & 0x80);
}

} // namespace

TheoraStream::TheoraStream(TheoraDataSource* source) : source(source), codec(std::make_unique<Codec>()) {
    readHeaders();
}

TheoraStream::~TheoraStream() = default;

bool TheoraStream::readPage() {
    for (;;) {
        int result = ogg_sync_pageout(&codec->sync, &codec->page);
        if (result == 1) {
            return true;
        }
        if (result < 0) {
            continue; // bytes skipped to the next page boundary
        }
        char* buffer = ogg_sync_buffer(&codec->sync, READ_CHUNK);
        int n = buffer ? source->read(buffer, READ_CHUNK) : 0;
        if (n <= 0) {
            return false;
        }
        ogg_sync_wrote(&codec->sync, n);
    }
}

void TheoraStream::readHeaders() {
    Codec& c = *codec;
    // The streams' first pages come first in an Ogg file; take the first that starts a Theora stream.
    while (!c.haveStream) {
        if (!readPage() || !ogg_page_bos(&c.page)) {
            VESSOT_THROW("no Theora stream");
        }
        ogg_stream_state candidate;
        ogg_stream_init(&candidate, ogg_page_serialno(&c.page));
        ogg_stream_pagein(&candidate, &c.page);
        if (ogg_stream_packetout(&candidate, &c.packet) == 1 &&
            th_decode_headerin(&c.info, &c.comment, &c.setup, &c.packet) > 0) {
            c.stream = candidate;
            c.serial = ogg_page_serialno(&c.page);
            c.haveStream = true;
        } else {
            ogg_stream_clear(&candidate);
        }
    }
    for (int headers = 1; headers < 3;) {
        int result = ogg_stream_packetout(&c.stream, &c.packet);
        if (result < 0) {
            VESSOT_THROW("damaged Theora headers");
        }
        if (result == 1) {
            if (th_decode_headerin(&c.info, &c.comment, &c.setup, &c.packet) <= 0) {
                VESSOT_THROW("damaged Theora headers");
            }
            ++headers;
        } else if (!readPage()) {
            VESSOT_THROW("truncated Theora headers");
        } else if (ogg_page_serialno(&c.page) == c.serial) {
            ogg_stream_pagein(&c.stream, &c.page);
        }
    }
    const th_info& ti = c.info;
    if (ti.frame_width == 0 || ti.frame_height == 0 || ti.frame_width > MAX_SIDE || ti.frame_height > MAX_SIDE) {
        VESSOT_THROW("unsupported frame size " + vessot::String(ti.frame_width) + "x" +
                     vessot::String(ti.frame_height));
    }
    if (ti.pic_width == 0 || ti.pic_height == 0 || ti.pic_x + ti.pic_width > ti.frame_width ||
        ti.pic_y + ti.pic_height > ti.frame_height) {
        VESSOT_THROW("picture region outside the frame");
    }
    if (ti.fps_numerator == 0 || ti.fps_denominator == 0) {
        VESSOT_THROW("no frame rate");
    }
    switch (ti.pixel_fmt) {
    case TH_PF_420:
        info.chromaShiftX = info.chromaShiftY = 1;
        break;
    case TH_PF_422:
        info.chromaShiftX = 1;
        info.chromaShiftY = 0;
        break;
    case TH_PF_444:
        info.chromaShiftX = info.chromaShiftY = 0;
        break;
    default:
        VESSOT_THROW("unsupported pixel format");
    }
    c.decoder = th_decode_alloc(&ti, c.setup);
    if (!c.decoder) {
        VESSOT_THROW("cannot set up the Theora decoder");
    }
    info.frameWidth = (int)ti.frame_width;
    info.frameHeight = (int)ti.frame_height;
    info.pictureX = (int)ti.pic_x;
    info.pictureY = (int)ti.pic_y;
    info.pictureWidth = (int)ti.pic_width;
    info.pictureHeight = (int)ti.pic_height;
    info.fps = (double)ti.fps_numerator / ti.fps_denominator;
}

bool TheoraStream::nextPacket(int64_t& frameNumber) {
    Codec& c = *codec;
    for (;;) {
        int result = ogg_stream_packetout(&c.stream, &c.packet);
        if (result == 1 && !isHeaderPacket(c.packet)) {
            // The page's last packet carries its frame's position; it corrects the count after a gap.
            if (c.packet.granulepos >= 0) {
                int64_t frame = th_granule_frame(c.decoder, c.packet.granulepos);
                if (frame >= 0 && frame < (int64_t(1) << 30)) {
                    nextFrame = frame;
                }
            }
            frameNumber = nextFrame++;
            return true;
        }
        if (result != 0) {
            continue; // a header packet after a rewind, or a gap in the data
        }
        if (!readPage()) {
            return false;
        }
        if (ogg_page_serialno(&c.page) == c.serial) {
            ogg_stream_pagein(&c.stream, &c.page);
        }
    }
}

bool TheoraStream::next(int64_t& frameNumber, YuvPicture* picture) {
    Codec& c = *codec;
    int64_t number = 0;
    while (nextPacket(number)) {
        if (number < skipBefore) {
            continue;
        }
        if (th_decode_packetin(c.decoder, &c.packet, nullptr) < 0) {
            VESSOT_THROW("damaged Theora data at frame " + vessot::String((long long)number));
        }
        if (number < emitFrom) {
            continue;
        }
        if (picture) {
            th_ycbcr_buffer planes;
            th_decode_ycbcr_out(c.decoder, planes);
            for (int p = 0; p < 3; ++p) {
                picture->planes[p] = YuvPlane{planes[p].data, planes[p].stride, planes[p].width, planes[p].height};
            }
            picture->chromaShiftX = info.chromaShiftX;
            picture->chromaShiftY = info.chromaShiftY;
        }
        frameNumber = number;
        return true;
    }
    return false;
}

void TheoraStream::rewind() {
    Codec& c = *codec;
    source->seek(0);
    ogg_sync_reset(&c.sync);
    ogg_stream_reset(&c.stream);
    th_decode_free(c.decoder);
    c.decoder = th_decode_alloc(&c.info, c.setup);
    if (!c.decoder) {
        VESSOT_THROW("cannot set up the Theora decoder");
    }
    nextFrame = 0;
    skipBefore = 0;
    emitFrom = 0;
}

void TheoraStream::seekToFrame(int64_t frameNumber) {
    rewind();
    if (frameNumber <= 0) {
        return;
    }
    // Find the last keyframe at or before the frame by reading packets only, then decode from it.
    int64_t keyframe = 0;
    int64_t number = 0;
    while (nextPacket(number) && number <= frameNumber) {
        if (th_packet_iskeyframe(&codec->packet) == 1) {
            keyframe = number;
        }
    }
    rewind();
    skipBefore = keyframe;
    emitFrom = frameNumber;
}

} // namespace reelix
