#include "MediaGen.h"

#include "PixelFont.h"

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

// ---------------------------------------------------------------- the game's pictures

struct Rgb {
    float r, g, b;
};

// One frame of a picture clip, in colour with its alpha, painted shape over shape with hard edges.
struct Canvas {
    Canvas(int width, int height)
        : width(width), height(height), pixels((size_t)width * height), alpha((size_t)width * height, 255) {}

    void fill(Rgb colour) { std::fill(pixels.begin(), pixels.end(), colour); }
    // Mixes the colour into the pixels for which inside(x, y) holds (pixel centres), by the opacity.
    template <class Inside> void paint(Rgb colour, float opacity, Inside inside) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (inside(x + 0.5f, y + 0.5f)) {
                    Rgb& p = pixels[(size_t)y * width + x];
                    p = {p.r + (colour.r - p.r) * opacity, p.g + (colour.g - p.g) * opacity,
                         p.b + (colour.b - p.b) * opacity};
                }
            }
        }
    }
    void ellipse(float cx, float cy, float rx, float ry, Rgb colour, float opacity = 1.0f) {
        paint(colour, opacity, [&](float x, float y) {
            float dx = (x - cx) / rx, dy = (y - cy) / ry;
            return dx * dx + dy * dy <= 1.0f;
        });
    }
    void ring(float cx, float cy, float radius, float thickness, Rgb colour, float opacity) {
        paint(colour, opacity,
              [&](float x, float y) { return std::fabs(std::hypot(x - cx, y - cy) - radius) <= thickness / 2; });
    }
    void box(float left, float top, float w, float h, Rgb colour) {
        paint(colour, 1.0f, [&](float x, float y) { return x >= left && x < left + w && y >= top && y < top + h; });
    }

    int width, height;
    std::vector<Rgb> pixels;
    std::vector<uint8_t> alpha;
};

// A number from 0 to 1 drawn from the state (the same clip every time).
float nextRandom(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return (float)(state >> 8) / (float)(1u << 24);
}

float fraction(float v) {
    return v - std::floor(v);
}

const char* const TITLE = "VESTREL VORNE";

// Stars fly out of the middle as the ship speeds past them; after a second the title fades in.
void paintTrailer(Canvas& c, float t) {
    c.fill({8, 10, 26});
    float cx = c.width / 2.0f, cy = c.height / 2.0f;
    uint32_t stars = 7;
    for (int i = 0; i < 160; ++i) {
        float sx = nextRandom(stars) - 0.5f, sy = nextRandom(stars) - 0.5f;
        float depth = 0.05f + 0.95f * fraction(nextRandom(stars) - t * 0.3f);
        float x = cx + sx * c.width * 0.3f / depth, y = cy + sy * c.width * 0.3f / depth;
        float size = depth < 0.3f ? 1.2f : 0.7f;
        c.ellipse(x, y, size, size, {235, 240, 255}, std::min(1.0f, (1.0f - depth) * 1.6f));
    }
    float cell = std::floor(c.width * 0.8f / artgen::textWidth(TITLE, 1.0f));
    float left = (c.width - artgen::textWidth(TITLE, cell)) / 2, top = cy - 3.5f * cell;
    c.paint({240, 176, 72}, std::clamp(t - 1.0f, 0.0f, 1.0f),
            [&](float x, float y) { return artgen::onText(TITLE, left, top, cell, x, y); });
}

// A red lamp on its base flashes once a second and sends out a ring that fades as it widens.
void paintBeacon(Canvas& c, float t) {
    c.fill({22, 26, 36});
    float cx = c.width / 2.0f, cy = c.height * 0.6f, r = c.height * 0.14f;
    float phase = fraction(t);
    c.ring(cx, cy, r + phase * c.width * 0.45f, 2.0f, {255, 120, 80}, 0.8f * (1.0f - phase));
    c.box(cx - r * 1.6f, cy + r * 0.6f, r * 3.2f, c.height - cy, {70, 74, 84});
    bool lit = phase < 0.3f;
    c.ellipse(cx, cy, r, r, lit ? Rgb{255, 80, 50} : Rgb{110, 28, 20});
    if (lit) {
        c.ellipse(cx - r * 0.3f, cy - r * 0.3f, r * 0.35f, r * 0.35f, {255, 220, 200});
    }
}

// A crew member talks on a video screen: shoulders, hair and face on a lined teal screen, blinking
// now and then, the mouth moving; the screen's corners are rounded off in the alpha.
void paintFace(Canvas& c, float t) {
    c.fill({16, 52, 62});
    for (int y = 0; y < c.height; y += 3) {
        c.box(0, (float)y, (float)c.width, 1, {10, 38, 48});
    }
    float cx = c.width / 2.0f, cy = c.height * 0.52f, rx = c.height * 0.26f, ry = c.height * 0.33f;
    c.ellipse(cx, c.height * 1.05f, rx * 2.4f, c.height * 0.3f, {206, 112, 42});
    c.ellipse(cx, cy - ry * 0.2f, rx * 1.12f, ry * 1.0f, {72, 46, 30});
    c.ellipse(cx, cy, rx, ry * 0.9f, {232, 190, 150});
    c.ellipse(cx, cy - ry * 0.75f, rx * 0.95f, ry * 0.3f, {72, 46, 30});
    float open = fraction(t / 2.0f) > 0.8f && fraction(t / 2.0f) < 0.85f ? 0.15f : 1.0f;
    for (float side : {-1.0f, 1.0f}) {
        c.ellipse(cx + side * rx * 0.4f, cy - ry * 0.05f, c.height * 0.04f, c.height * 0.04f * open, {30, 30, 40});
    }
    c.ellipse(cx, cy + ry * 0.45f, rx * 0.3f, c.height * (0.015f + 0.03f * std::fabs(std::sin(t * 9.0f))),
              {120, 40, 40});
    float corner = c.height / 5.0f;
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            float dx = std::max({corner - x - 0.5f, x + 0.5f - (c.width - corner), 0.0f});
            float dy = std::max({corner - y - 0.5f, y + 0.5f - (c.height - corner), 0.0f});
            c.alpha[(size_t)y * c.width + x] = std::hypot(dx, dy) <= corner ? 255 : 0;
        }
    }
}

// BT.601 studio range, as the players convert back.
Ycbcr toYcbcr(const Rgb& c) {
    return Ycbcr{(uint8_t)std::lround(16 + (65.481f * c.r + 128.553f * c.g + 24.966f * c.b) / 255),
                 (uint8_t)std::lround(128 + (-37.797f * c.r - 74.203f * c.g + 112.0f * c.b) / 255),
                 (uint8_t)std::lround(128 + (112.0f * c.r - 93.786f * c.g - 18.214f * c.b) / 255)};
}

// The planes of a picture clip's frame: the colour picture, the alpha picture beside it when the
// clip has one (grey), and black beyond both; each chroma sample averages the colours it covers.
void paintPicture(const ClipSettings& settings, int n, th_ycbcr_buffer planes) {
    Canvas c(settings.width, settings.height);
    float t = (float)n / (float)settings.fps;
    if (settings.picture == Picture::TRAILER) {
        paintTrailer(c, t);
    } else if (settings.picture == Picture::BEACON) {
        paintBeacon(c, t);
    } else {
        paintFace(c, t);
    }
    auto colourAt = [&](int x, int y) { return c.pixels[(size_t)y * c.width + x]; };
    for (int y = 0; y < planes[0].height; ++y) {
        for (int x = 0; x < planes[0].width; ++x) {
            uint8_t value = 16;
            if (y < c.height && x < c.width) {
                value = toYcbcr(colourAt(x, y)).y;
            } else if (y < c.height && settings.alpha && x < 2 * c.width) {
                value = c.alpha[(size_t)y * c.width + x - c.width];
            }
            planes[0].data[(ptrdiff_t)y * planes[0].stride + x] = value;
        }
    }
    int sx = chromaShiftX(settings.chroma), sy = chromaShiftY(settings.chroma);
    for (int y = 0; y < planes[1].height; ++y) {
        for (int x = 0; x < planes[1].width; ++x) {
            Rgb sum{0, 0, 0};
            int count = 0;
            for (int py = y << sy; py < ((y + 1) << sy) && py < c.height; ++py) {
                for (int px = x << sx; px < ((x + 1) << sx) && px < c.width; ++px) {
                    Rgb p = colourAt(px, py);
                    sum = {sum.r + p.r, sum.g + p.g, sum.b + p.b};
                    ++count;
                }
            }
            Ycbcr average = count ? toYcbcr({sum.r / count, sum.g / count, sum.b / count}) : Ycbcr{16, 128, 128};
            planes[1].data[(ptrdiff_t)y * planes[1].stride + x] = average.cb;
            planes[2].data[(ptrdiff_t)y * planes[2].stride + x] = average.cr;
        }
    }
}

// ---------------------------------------------------------------- test pictures

// Fills the three planes of frame n.
void paintFrame(const ClipSettings& settings, int n, th_ycbcr_buffer planes, uint32_t& noise) {
    if (settings.picture != Picture::TEST) {
        paintPicture(settings, n, planes);
        return;
    }
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
