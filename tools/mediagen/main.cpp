// mediagen: writes a test clip or a test sound.
//   mediagen clip OUT.ogv [width=W] [height=H] [frames=N] [fps=F] [chroma=420|422|444] [alpha=1]
//                         [textured=1] [picture=trailer|beacon|face] [audio=1] [keyframe=K]
//   mediagen sound OUT (.ogg or .wav) [seconds=S] [rate=R] [channels=C] [bits=8|16] [freq=HZ]
#include "MediaGen.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>

namespace {

std::map<std::string, std::string> options(int argc, char** argv) {
    std::map<std::string, std::string> out;
    for (int i = 3; i < argc; ++i) {
        std::string arg = argv[i];
        size_t eq = arg.find('=');
        if (eq == std::string::npos) {
            throw std::runtime_error("expected key=value, got " + arg);
        }
        out[arg.substr(0, eq)] = arg.substr(eq + 1);
    }
    return out;
}

double number(const std::map<std::string, std::string>& opts, const std::string& key, double fallback) {
    auto it = opts.find(key);
    return it == opts.end() ? fallback : std::atof(it->second.c_str());
}

mediagen::Picture picture(const std::map<std::string, std::string>& opts) {
    const std::map<std::string, mediagen::Picture> names = {{"test", mediagen::Picture::TEST},
                                                            {"trailer", mediagen::Picture::TRAILER},
                                                            {"beacon", mediagen::Picture::BEACON},
                                                            {"face", mediagen::Picture::FACE}};
    auto it = opts.find("picture");
    if (it == opts.end()) {
        return mediagen::Picture::TEST;
    }
    auto name = names.find(it->second);
    if (name == names.end()) {
        throw std::runtime_error("unknown picture " + it->second + " (test, trailer, beacon or face)");
    }
    return name->second;
}

mediagen::Bytes makeClip(const std::map<std::string, std::string>& opts) {
    mediagen::ClipSettings settings;
    settings.width = (int)number(opts, "width", settings.width);
    settings.height = (int)number(opts, "height", settings.height);
    settings.frames = (int)number(opts, "frames", settings.frames);
    settings.fps = (int)number(opts, "fps", settings.fps);
    settings.alpha = number(opts, "alpha", 0) != 0;
    settings.textured = number(opts, "textured", 0) != 0;
    settings.withAudio = number(opts, "audio", 0) != 0;
    settings.picture = picture(opts);
    settings.keyframeInterval = (int)number(opts, "keyframe", settings.keyframeInterval);
    int chroma = (int)number(opts, "chroma", 420);
    settings.chroma =
        chroma == 444 ? mediagen::Chroma::C444 : (chroma == 422 ? mediagen::Chroma::C422 : mediagen::Chroma::C420);
    return mediagen::theoraClip(settings);
}

mediagen::Bytes makeSound(const std::string& path, const std::map<std::string, std::string>& opts) {
    int rate = (int)number(opts, "rate", 44100);
    int channels = (int)number(opts, "channels", 2);
    auto samples = mediagen::tone(number(opts, "seconds", 1.0), rate, channels, number(opts, "freq", 440.0), 0.5f);
    bool isWav = path.size() > 4 && path.substr(path.size() - 4) == ".wav";
    return isWav ? mediagen::wav(samples, rate, channels, (int)number(opts, "bits", 16))
                 : mediagen::vorbis(samples, rate, channels);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: mediagen clip|sound OUT [key=value ...]\n");
        return 2;
    }
    try {
        std::string kind = argv[1], path = argv[2];
        auto opts = options(argc, argv);
        mediagen::writeFile(path, kind == "clip" ? makeClip(opts) : makeSound(path, opts));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mediagen: %s\n", e.what());
        return 1;
    }
    return 0;
}
