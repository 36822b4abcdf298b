#pragma once
// An "Offline" audio manager with the game's categories, sounds written into a temporary folder, and
// the log captured to a file there.

#include "MediaGen.h"
#include "TempDir.h"
#include "echon/AudioManager.h"
#include "vessot/File.h"
#include "vessot/Log.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

class OfflineAudio : public ::testing::Test {
protected:
    void SetUp() override {
        vessot::Log::reset();
        vessot::Log::setEcho(false);
        vessot::Log::setFilename(dir / "game.log", true);
        echon::init("Offline");
        echon::mgr->createCategory("fx", echon::BUFFER_FULL, echon::SOURCE_RESOURCE);
        echon::mgr->createCategory("music", echon::BUFFER_STREAM, echon::SOURCE_RESOURCE);
        echon::mgr->createCategory("video", echon::BUFFER_ON_DEMAND, echon::SOURCE_RESOURCE);
    }
    void TearDown() override {
        echon::destroy();
        vessot::Log::reset();
        vessot::Log::setEcho(true);
    }

    // A WAV file of a constant level (a flat line makes gains easy to read off the mix).
    std::string flatWav(const std::string& name, float level, double seconds = 1.0, int rate = 44100, int channels = 2,
                        int bits = 16) {
        std::vector<float> samples((size_t)std::lround(seconds * rate) * channels, level);
        return write(name, mediagen::wav(samples, rate, channels, bits));
    }
    std::string toneOgg(const std::string& name, double seconds, int rate = 44100, int channels = 2) {
        return write(name, mediagen::vorbis(mediagen::tone(seconds, rate, channels, 440.0, 0.5f), rate, channels));
    }
    std::string write(const std::string& name, const mediagen::Bytes& bytes) {
        std::string path = dir / name;
        mediagen::writeFile(path, bytes);
        return path;
    }

    // Mixes the given time and answers the interleaved stereo samples.
    std::vector<float> mix(double seconds) {
        std::vector<float> out((size_t)std::lround(seconds * echon::AudioManager::SAMPLE_RATE) * 2);
        echon::mgr->mix(out.data(), (int)out.size() / 2);
        return out;
    }
    static float peak(const std::vector<float>& samples) {
        float p = 0.0f;
        for (float s : samples) {
            p = std::max(p, std::fabs(s));
        }
        return p;
    }
    std::string log() { return vessot::File::hread(dir / "game.log"); }

    TempDir dir;
};
