#include "MediaGen.h"

#include <ogg/ogg.h>
#include <theora/theoraenc.h>
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace mediagen {

namespace {

void appendPage(Bytes& out, const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

void flushPages(Bytes& out, ogg_stream_state& stream) {
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) > 0) {
        appendPage(out, page);
    }
}

void drainPages(Bytes& out, ogg_stream_state& stream) {
    ogg_page page;
    while (ogg_stream_pageout(&stream, &page) > 0) {
        appendPage(out, page);
    }
}

// Vorbis encoding split into header and data steps so that a clip can mux its pages.
class VorbisEncoder {
public:
    VorbisEncoder(int rate, int channels, int serial) {
        vorbis_info_init(&info);
        if (vorbis_encode_init_vbr(&info, channels, rate, 0.3f) != 0) {
            throw std::runtime_error("vorbis_encode_init_vbr failed");
        }
        vorbis_comment_init(&comment);
        vorbis_analysis_init(&dsp, &info);
        vorbis_block_init(&dsp, &block);
        ogg_stream_init(&stream, serial);
        this->channels = channels;
    }
    ~VorbisEncoder() {
        ogg_stream_clear(&stream);
        vorbis_block_clear(&block);
        vorbis_dsp_clear(&dsp);
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
    // The first header page (alone on its page), then the other two.
    void headers(Bytes& first, Bytes& rest) {
        ogg_packet id, comm, code;
        vorbis_analysis_headerout(&dsp, &comment, &id, &comm, &code);
        ogg_stream_packetin(&stream, &id);
        flushPages(first, stream);
        ogg_stream_packetin(&stream, &comm);
        ogg_stream_packetin(&stream, &code);
        flushPages(rest, stream);
    }
    void data(const std::vector<float>& samples, Bytes& out) {
        const int chunk = 1024;
        int frames = (int)samples.size() / channels;
        for (int start = 0; start < frames; start += chunk) {
            int n = std::min(chunk, frames - start);
            float** buffer = vorbis_analysis_buffer(&dsp, n);
            for (int i = 0; i < n; ++i) {
                for (int c = 0; c < channels; ++c) {
                    buffer[c][i] = samples[(size_t)(start + i) * channels + c];
                }
            }
            vorbis_analysis_wrote(&dsp, n);
            pump(out);
        }
        vorbis_analysis_wrote(&dsp, 0);
        pump(out);
        flushPages(out, stream);
    }

private:
    void pump(Bytes& out) {
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                drainPages(out, stream);
            }
        }
    }

    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
    int channels = 1;
};

int chromaShiftX(Chroma c) {
    return c == Chroma::C444 ? 0 : 1;
}
int chromaShiftY(Chroma c) {
    return c == Chroma::C420 ? 1 : 0;
}

th_pixel_fmt pixelFormat(Chroma c) {
    switch (c) {
    case Chroma::C420:
        return TH_PF_420;
    case Chroma::C422:
        return TH_PF_422;
    case Chroma::C444:
        return TH_PF_444;
    }
    return TH_PF_420;
}

// Fills the three planes of frame n.
void paintFrame(const ClipSettings& settings, int n, th_ycbcr_buffer planes, uint32_t& noise) {
    Ycbcr flat = frameColour(n);
    for (int y = 0; y < planes[0].height; ++y) {
        unsigned char* row = planes[0].data + (ptrdiff_t)y * planes[0].stride;
        for (int x = 0; x < planes[0].width; ++x) {
            uint8_t value = flat.y;
            if (settings.alpha && x >= settings.width) {
                value = alphaAt(x - settings.width, settings.width);
            } else if (settings.textured) {
                noise = noise * 1664525u + 1013904223u;
                value = (uint8_t)(((x + 3 * n) ^ (y + n)) + (noise >> 28));
            }
            row[x] = value;
        }
    }
    for (int p = 1; p < 3; ++p) {
        uint8_t value = p == 1 ? flat.cb : flat.cr;
        for (int y = 0; y < planes[p].height; ++y) {
            unsigned char* row = planes[p].data + (ptrdiff_t)y * planes[p].stride;
            for (int x = 0; x < planes[p].width; ++x) {
                bool alphaSide = settings.alpha && (x << chromaShiftX(settings.chroma)) >= settings.width;
                row[x] = alphaSide ? 128 : (settings.textured ? (uint8_t)(value + ((x + y + n) & 15)) : value);
            }
        }
    }
}

} // namespace

Ycbcr frameColour(int frame) {
    return Ycbcr{(uint8_t)(50 + (frame % 8) * 20), (uint8_t)(90 + (frame % 5) * 15), (uint8_t)(160 - (frame % 6) * 12)};
}

uint8_t alphaAt(int x, int width) {
    return x < width / 2 ? 255 : 64;
}

Bytes theoraClip(const ClipSettings& settings) {
    int pictureWidth = settings.alpha ? settings.width * 2 : settings.width;
    th_info info;
    th_info_init(&info);
    info.frame_width = (pictureWidth + 15) & ~15;
    info.frame_height = (settings.height + 15) & ~15;
    info.pic_width = pictureWidth;
    info.pic_height = settings.height;
    info.pic_x = 0;
    info.pic_y = 0;
    info.colorspace = TH_CS_UNSPECIFIED;
    info.pixel_fmt = pixelFormat(settings.chroma);
    info.fps_numerator = settings.fps;
    info.fps_denominator = 1;
    info.aspect_numerator = 1;
    info.aspect_denominator = 1;
    info.quality = 48;
    info.target_bitrate = 0;
    th_enc_ctx* encoder = th_encode_alloc(&info);
    th_info_clear(&info);
    if (!encoder) {
        throw std::runtime_error("th_encode_alloc failed");
    }
    ogg_uint32_t keyframe = (ogg_uint32_t)settings.keyframeInterval;
    th_encode_ctl(encoder, TH_ENCCTL_SET_KEYFRAME_FREQUENCY_FORCE, &keyframe, sizeof(keyframe));

    ogg_stream_state stream;
    ogg_stream_init(&stream, 0x7e0);
    th_comment comment;
    th_comment_init(&comment);
    Bytes firstPages, headerPages, dataPages;
    ogg_packet packet;
    bool first = true;
    while (th_encode_flushheader(encoder, &comment, &packet) > 0) {
        ogg_stream_packetin(&stream, &packet);
        flushPages(first ? firstPages : headerPages, stream);
        first = false;
    }
    th_comment_clear(&comment);

    std::vector<float> audio;
    std::unique_ptr<VorbisEncoder> vorbisEncoder;
    if (settings.withAudio) {
        vorbisEncoder = std::make_unique<VorbisEncoder>(22050, 1, 0xa0d);
        vorbisEncoder->headers(firstPages, headerPages);
        audio = tone((double)settings.frames / settings.fps, 22050, 1, 440.0, 0.5f);
    }

    std::vector<unsigned char> memory;
    th_ycbcr_buffer planes;
    int frameWidth = (pictureWidth + 15) & ~15, frameHeight = (settings.height + 15) & ~15;
    size_t offsets[3] = {0, 0, 0};
    size_t total = 0;
    for (int p = 0; p < 3; ++p) {
        planes[p].width = p == 0 ? frameWidth : frameWidth >> chromaShiftX(settings.chroma);
        planes[p].height = p == 0 ? frameHeight : frameHeight >> chromaShiftY(settings.chroma);
        planes[p].stride = planes[p].width;
        offsets[p] = total;
        total += (size_t)planes[p].width * planes[p].height;
    }
    memory.resize(total);
    for (int p = 0; p < 3; ++p) {
        planes[p].data = memory.data() + offsets[p];
    }
    uint32_t noise = 12345;
    for (int n = 0; n < settings.frames; ++n) {
        paintFrame(settings, n, planes, noise);
        if (th_encode_ycbcr_in(encoder, planes) != 0) {
            th_encode_free(encoder);
            ogg_stream_clear(&stream);
            throw std::runtime_error("th_encode_ycbcr_in failed");
        }
        while (th_encode_packetout(encoder, n == settings.frames - 1, &packet) > 0) {
            ogg_stream_packetin(&stream, &packet);
            drainPages(dataPages, stream);
        }
    }
    flushPages(dataPages, stream);
    th_encode_free(encoder);
    ogg_stream_clear(&stream);

    Bytes out = firstPages;
    out.insert(out.end(), headerPages.begin(), headerPages.end());
    out.insert(out.end(), dataPages.begin(), dataPages.end());
    if (vorbisEncoder) {
        Bytes audioPages;
        vorbisEncoder->data(audio, audioPages);
        out.insert(out.end(), audioPages.begin(), audioPages.end());
    }
    return out;
}

Bytes wav(const std::vector<float>& samples, int rate, int channels, int bits) {
    int bytesPerSample = bits / 8;
    uint32_t dataSize = (uint32_t)(samples.size() * bytesPerSample);
    Bytes out;
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            out.push_back((uint8_t)(v >> (8 * i)));
        }
    };
    auto put16 = [&](uint16_t v) {
        out.push_back((uint8_t)v);
        out.push_back((uint8_t)(v >> 8));
    };
    auto tag = [&](const char* t) {
        for (int i = 0; i < 4; ++i) {
            out.push_back((uint8_t)t[i]);
        }
    };
    tag("RIFF");
    put32(36 + dataSize);
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(1);
    put16((uint16_t)channels);
    put32((uint32_t)rate);
    put32((uint32_t)(rate * channels * bytesPerSample));
    put16((uint16_t)(channels * bytesPerSample));
    put16((uint16_t)bits);
    tag("data");
    put32(dataSize);
    for (float s : samples) {
        float clamped = std::max(-1.0f, std::min(1.0f, s));
        if (bits == 8) {
            out.push_back((uint8_t)std::lround(clamped * 127.0f + 128.0f));
        } else {
            put16((uint16_t)(int16_t)std::lround(clamped * 32767.0f));
        }
    }
    return out;
}

Bytes vorbis(const std::vector<float>& samples, int rate, int channels) {
    VorbisEncoder encoder(rate, channels, 0x50d);
    Bytes out;
    encoder.headers(out, out);
    encoder.data(samples, out);
    return out;
}

std::vector<float> tone(double seconds, int rate, int channels, double frequency, float amplitude) {
    int frames = (int)std::lround(seconds * rate);
    std::vector<float> out((size_t)frames * channels);
    for (int i = 0; i < frames; ++i) {
        float value = amplitude * (float)std::sin(2.0 * M_PI * frequency * i / rate);
        for (int c = 0; c < channels; ++c) {
            out[(size_t)i * channels + c] = value;
        }
    }
    return out;
}

void writeFile(const std::string& path, const Bytes& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        throw std::runtime_error("cannot write " + path);
    }
    size_t written = std::fwrite(bytes.data(), 1, bytes.size(), file);
    if (std::fclose(file) != 0 || written != bytes.size()) {
        throw std::runtime_error("cannot write " + path);
    }
}

} // namespace mediagen
