#pragma once
// Makes the test media of the audio and video layers and the game's clips and sounds in memory: Ogg
// Theora clips (optionally with an alpha picture beside the colour picture, and with a Vorbis stream
// muxed in), Ogg Vorbis tones and PCM WAV files. Nothing it makes is committed; tests, benchmarks and
// the command-line tool (which scripts/setup-data runs) call it.

#include <cstdint>
#include <string>
#include <vector>

namespace mediagen {

using Bytes = std::vector<uint8_t>;

enum class Chroma { C420, C422, C444 };

// What a clip shows: a test picture (a flat colour a frame, or the noise of "textured"), or one of the
// game's own: the trailer's star field flying past under the game's title, a beacon's lamp flashing
// out rings, or a face talking on a screen (its alpha rounds the screen's corners).
enum class Picture { TEST, TRAILER, BEACON, FACE };

struct ClipSettings {
    int width = 64; // the colour picture
    int height = 48;
    int frames = 12;
    int fps = 25;
    Chroma chroma = Chroma::C420;
    // Adds the alpha picture (same size) to the right of the colour picture.
    bool alpha = false;
    // A moving, noisy pattern (realistic decoding cost) instead of one flat colour per frame.
    bool textured = false;
    Picture picture = Picture::TEST;
    // Also muxes a Vorbis stream into the file, which a video player must skip.
    bool withAudio = false;
    int keyframeInterval = 8;
};

struct Ycbcr {
    uint8_t y, cb, cr;
};

// The flat colour of frame n of an untextured clip.
Ycbcr frameColour(int frame);
// The alpha of an alpha clip's pixel: 255 in the left half of the picture, 64 in the right half.
uint8_t alphaAt(int x, int width);

Bytes theoraClip(const ClipSettings& settings);

// Interleaved samples in [-1, 1].
Bytes wav(const std::vector<float>& samples, int rate, int channels, int bits);
Bytes vorbis(const std::vector<float>& samples, int rate, int channels);
// A sine tone of the given amplitude, interleaved, the same on every channel.
std::vector<float> tone(double seconds, int rate, int channels, double frequency, float amplitude);

void writeFile(const std::string& path, const Bytes& bytes);

} // namespace mediagen
