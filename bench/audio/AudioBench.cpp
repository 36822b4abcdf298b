// Mixing through the audio manager's mixing entry ("Offline" system), against the bare work in the same
// run: libvorbisfile decoding the same streams and a plain loop summing the same samples with the same
// gains. Also the game's usual load (a music and an ambience stream and 8 sound effects in memory) as a
// multiple of real time on one core.
#include "MediaGen.h"
#include "Report.h"
#include "echon/AudioManager.h"

#include <vorbis/vorbisfile.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int RATE = echon::AudioManager::SAMPLE_RATE;
constexpr int SECONDS = 10;
constexpr int CHUNK = 441; // what the audio thread mixes every 10 ms
constexpr int VOICES_EACH = 16;
constexpr float GAIN = 0.03f;

struct Files {
    std::filesystem::path dir;
    std::string stream; // 10 s stereo Vorbis, streamed
    std::string memory; // 10 s stereo Vorbis, decoded into memory
    std::string effect; // 1 s stereo Vorbis, decoded into memory
};

const Files& files() {
    static Files f = [] {
        Files made;
        made.dir = std::filesystem::temp_directory_path() / ("zeph-bench-audio-" + std::to_string(getpid()));
        std::filesystem::create_directories(made.dir);
        auto write = [&](const char* name, double seconds, double frequency) {
            std::string path = (made.dir / name).string();
            mediagen::writeFile(path, mediagen::vorbis(mediagen::tone(seconds, RATE, 2, frequency, 0.5f), RATE, 2));
            return path;
        };
        made.stream = write("stream.ogg", SECONDS, 220.0);
        made.memory = write("memory.ogg", SECONDS, 330.0);
        made.effect = write("effect.ogg", 1.0, 660.0);
        return made;
    }();
    return f;
}

// The name a sound of the given prefix letter and number gets, such as "s3.stream".
std::string soundName(char prefix, int index, const std::string& stem) {
    std::string name(1, prefix);
    name += std::to_string(index);
    name += '.';
    name += stem;
    return name;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A manager with the given sounds created and the in-memory ones decoded.
void prepare(int streams, const std::string& streamFile, int inMemory, const std::string& memoryFile) {
    echon::init("Offline");
    echon::mgr->createCategory("music", echon::BUFFER_STREAM, echon::SOURCE_RESOURCE);
    echon::mgr->createCategory("fx", echon::BUFFER_FULL, echon::SOURCE_RESOURCE);
    for (int i = 0; i < streams; ++i) {
        echon::mgr->createSound(streamFile, "music", soundName('s', i, ""));
    }
    for (int i = 0; i < inMemory; ++i) {
        echon::mgr->createSound(memoryFile, "fx", soundName('m', i, ""));
    }
    float silence[2];
    echon::mgr->mix(silence, 1);
}

// Plays every sound and mixes the given time in 10 ms chunks; answers the seconds it took.
double mixThrough(int streams, const std::string& streamName, int inMemory, const std::string& memoryName,
                  bool loopMemory, int seconds) {
    std::vector<float> out(CHUNK * 2);
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < streams; ++i) {
        echon::mgr->play(soundName('s', i, streamName), 0.0f, false, GAIN);
    }
    for (int i = 0; i < inMemory; ++i) {
        echon::mgr->play(soundName('m', i, memoryName), 0.0f, loopMemory, GAIN);
    }
    for (int done = 0; done < seconds * RATE; done += CHUNK) {
        echon::mgr->mix(out.data(), CHUNK);
        benchmark::DoNotOptimize(out.data());
    }
    double elapsed = secondsSince(start);
    echon::mgr->stopAll();
    return elapsed;
}

std::vector<float> decodeWhole(const std::string& path) {
    OggVorbis_File file;
    ov_fopen(path.c_str(), &file);
    std::vector<float> samples;
    float** pcm = nullptr;
    int section = 0;
    long n;
    while ((n = ov_read_float(&file, &pcm, 4096, &section)) > 0) {
        for (long i = 0; i < n; ++i) {
            samples.push_back(pcm[0][i]);
            samples.push_back(pcm[1][i]);
        }
    }
    ov_clear(&file);
    return samples;
}

// The bare work of the 32-voice mix: decode 16 streams with libvorbisfile and sum them, with 16 decoded
// sounds, into the output chunk by chunk.
double bareMix(const std::vector<std::vector<float>>& memory) {
    std::vector<float> out(CHUNK * 2);
    auto start = std::chrono::steady_clock::now();
    std::vector<OggVorbis_File> streams(VOICES_EACH);
    std::vector<std::vector<float>> pending(VOICES_EACH);
    for (auto& stream : streams) {
        ov_fopen(files().stream.c_str(), &stream);
    }
    for (int done = 0; done < SECONDS * RATE; done += CHUNK) {
        std::fill(out.begin(), out.end(), 0.0f);
        for (int s = 0; s < VOICES_EACH; ++s) {
            std::vector<float>& buffer = pending[s];
            while ((int)buffer.size() < CHUNK * 2) {
                float** pcm = nullptr;
                int section = 0;
                long n = ov_read_float(&streams[s], &pcm, 4096, &section);
                if (n <= 0) {
                    buffer.resize(CHUNK * 2, 0.0f);
                    break;
                }
                for (long i = 0; i < n; ++i) {
                    buffer.push_back(pcm[0][i]);
                    buffer.push_back(pcm[1][i]);
                }
            }
            for (int i = 0; i < CHUNK * 2; ++i) {
                out[i] += GAIN * buffer[i];
            }
            buffer.erase(buffer.begin(), buffer.begin() + CHUNK * 2);
        }
        for (const std::vector<float>& sound : memory) {
            const float* src = sound.data() + (size_t)done * 2;
            int n = std::min<int>(CHUNK * 2, (int)sound.size() - done * 2);
            for (int i = 0; i < n; ++i) {
                out[i] += GAIN * src[i];
            }
        }
        benchmark::DoNotOptimize(out.data());
    }
    for (auto& stream : streams) {
        ov_clear(&stream);
    }
    return secondsSince(start);
}

void compare() {
    const Files& f = files();
    prepare(VOICES_EACH, f.stream, VOICES_EACH, f.memory);
    std::vector<std::vector<float>> memory(VOICES_EACH, decodeWhole(f.memory));
    double ours = 1e9, bare = 1e9;
    for (int round = 0; round < 3; ++round) {
        ours = std::min(ours, mixThrough(VOICES_EACH, "stream", VOICES_EACH, "memory", false, SECONDS));
        bare = std::min(bare, bareMix(memory));
    }
    echon::destroy();
    benchreport::ratio("mix", ours / bare);

    prepare(2, f.stream, 8, f.effect);
    double usual = 1e9;
    for (int round = 0; round < 3; ++round) {
        usual = std::min(usual, mixThrough(2, "stream", 8, "effect", true, SECONDS));
    }
    echon::destroy();
    benchreport::figure("mix_realtime_factor", SECONDS / usual, "x");
}

// Steady state of the usual load: one 10 ms chunk.
void BM_MixUsualLoadChunk(benchmark::State& state) {
    prepare(2, files().stream, 8, files().effect);
    for (int i = 0; i < 2; ++i) {
        echon::mgr->play(soundName('s', i, "stream"), 0.0f, true, GAIN);
    }
    for (int i = 0; i < 8; ++i) {
        echon::mgr->play(soundName('m', i, "effect"), 0.0f, true, GAIN);
    }
    std::vector<float> out(CHUNK * 2);
    for (auto _ : state) {
        echon::mgr->mix(out.data(), CHUNK);
        benchmark::DoNotOptimize(out.data());
    }
    echon::destroy();
}
BENCHMARK(BM_MixUsualLoadChunk);

} // namespace

int main(int argc, char** argv) {
    return benchreport::runMain(argc, argv, compare, [] { std::filesystem::remove_all(files().dir); });
}
