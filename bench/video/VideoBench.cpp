// Decoding and converting a 640x360 Theora clip through a clip (worker thread, frame queue) against
// libtheora's bare decode plus a plain per-pixel conversion loop in the same run; the clip's speed
// as a multiple of real time; and two clips playing in a scene (SceneVideoBench.cpp).
#include "MediaGen.h"
#include "Report.h"
#include "SceneVideoBench.h"
#include "reelix/TheoraVideoManager.h"

#include <ogg/ogg.h>
#include <theora/theoradec.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

namespace {

constexpr int WIDTH = 640;
constexpr int HEIGHT = 360;
constexpr int FRAMES = 100;
constexpr int FPS = 25;

const mediagen::Bytes& clipBytes() {
    static mediagen::Bytes bytes = [] {
        mediagen::ClipSettings settings;
        settings.width = WIDTH;
        settings.height = HEIGHT;
        settings.frames = FRAMES;
        settings.fps = FPS;
        settings.textured = true;
        settings.keyframeInterval = 64;
        return mediagen::theoraClip(settings);
    }();
    return bytes;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Takes every frame of the clip as soon as it is ready; answers the seconds and the frame count.
double throughClip(TheoraVideoManager& manager, int& frames) {
    const mediagen::Bytes& bytes = clipBytes();
    auto start = std::chrono::steady_clock::now();
    auto* buffer = new unsigned char[bytes.size()];
    std::memcpy(buffer, bytes.data(), bytes.size());
    TheoraVideoClip* clip =
        manager.createVideoClip(new TheoraMemoryFileDataSource(buffer, bytes.size(), "bench"), TheoraOutputRGB, 16);
    TheoraTimer late; // far past the end, so that isDone only waits for the frames
    late.seek(1e6f);
    clip->setTimer(&late);
    frames = 0;
    while (!clip->isDone()) {
        if (TheoraVideoFrame* frame = clip->getFrameQueue()->getFirstAvailableFrame()) {
            benchmark::DoNotOptimize(frame->getBuffer()[0]);
            clip->popFrame();
            ++frames;
        } else {
            clip->waitForCache(0.0f, 1.0f);
        }
    }
    double elapsed = secondsSince(start);
    manager.destroyVideoClip(clip);
    return elapsed;
}

// A plain per-pixel BT.601 conversion of a 4:2:0 picture into RGBA.
void plainConvert(th_ycbcr_buffer planes, std::vector<unsigned char>& out) {
    int w = planes[0].width, h = planes[0].height;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int Y = planes[0].data[y * planes[0].stride + x];
            int U = planes[1].data[(y >> 1) * planes[1].stride + (x >> 1)] - 128;
            int V = planes[2].data[(y >> 1) * planes[2].stride + (x >> 1)] - 128;
            float c = 1.164383f * (float)(Y - 16);
            unsigned char* p = &out[((size_t)y * w + x) * 4];
            p[0] = (unsigned char)std::clamp(c + 1.596027f * (float)V, 0.0f, 255.0f);
            p[1] = (unsigned char)std::clamp(c - 0.812968f * (float)V - 0.391762f * (float)U, 0.0f, 255.0f);
            p[2] = (unsigned char)std::clamp(c + 2.017232f * (float)U, 0.0f, 255.0f);
            p[3] = 255;
        }
    }
}

// libtheora alone: demux, decode, convert every frame on this thread.
double bareDecode(int& frames) {
    const mediagen::Bytes& bytes = clipBytes();
    auto start = std::chrono::steady_clock::now();
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    char* data = ogg_sync_buffer(&sync, (long)bytes.size());
    std::memcpy(data, bytes.data(), bytes.size());
    ogg_sync_wrote(&sync, (long)bytes.size());
    ogg_stream_state stream;
    bool haveStream = false;
    th_info info;
    th_comment comment;
    th_setup_info* setup = nullptr;
    th_info_init(&info);
    th_comment_init(&comment);
    th_dec_ctx* decoder = nullptr;
    std::vector<unsigned char> rgba;
    ogg_page page;
    ogg_packet packet;
    frames = 0;
    while (ogg_sync_pageout(&sync, &page) == 1) {
        if (!haveStream) {
            ogg_stream_init(&stream, ogg_page_serialno(&page));
            haveStream = true;
        }
        ogg_stream_pagein(&stream, &page);
        while (ogg_stream_packetout(&stream, &packet) == 1) {
            if (!decoder) {
                if (th_decode_headerin(&info, &comment, &setup, &packet) > 0) {
                    continue;
                }
                decoder = th_decode_alloc(&info, setup);
                rgba.resize((size_t)info.frame_width * info.frame_height * 4);
            }
            if (th_decode_packetin(decoder, &packet, nullptr) >= 0) {
                th_ycbcr_buffer planes;
                th_decode_ycbcr_out(decoder, planes);
                plainConvert(planes, rgba);
                benchmark::DoNotOptimize(rgba.data());
                ++frames;
            }
        }
    }
    double elapsed = secondsSince(start);
    th_decode_free(decoder);
    th_setup_free(setup);
    th_comment_clear(&comment);
    th_info_clear(&info);
    ogg_stream_clear(&stream);
    ogg_sync_clear(&sync);
    return elapsed;
}

void compare() {
    TheoraVideoManager manager(1);
    double ours = 1e9, bare = 1e9;
    int ourFrames = 0, bareFrames = 0;
    for (int round = 0; round < 3; ++round) {
        ours = std::min(ours, throughClip(manager, ourFrames));
        bare = std::min(bare, bareDecode(bareFrames));
    }
    if (ourFrames != FRAMES || bareFrames != FRAMES) {
        std::fprintf(stderr, "frame counts differ: clip %d, bare %d, expected %d\n", ourFrames, bareFrames, FRAMES);
    }
    benchreport::ratio("video_decode", ours / bare);
    benchreport::figure("video_realtime_factor", (double)FRAMES / FPS / ours, "x");
    compareVideoInScene();
}

void BM_ClipThroughput(benchmark::State& state) {
    TheoraVideoManager manager(1);
    int frames = 0;
    for (auto _ : state) {
        state.SetIterationTime(throughClip(manager, frames));
    }
    state.counters["frames"] = frames;
}
BENCHMARK(BM_ClipThroughput)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return benchreport::runMain(argc, argv, compare);
}
