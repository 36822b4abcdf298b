// Two video objects of a scene, made from a scene file in a temporary chapter, against the same two
// clips driven directly: each frame draws (uploading the due frames), presents and advances one
// frame period; both sides share the video manager's worker and wait for it alike.
#include "SceneVideoBench.h"

#include "AmpBuilder.h"
#include "MediaGen.h"
#include "Report.h"
#include "Timing.h"

#include "engine/objects/VideoObject.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"

#include "nimbo/Nimbo.h"
#include "nimbo/RenderSystem.h"
#include "nimboui/nimboui.h"
#include "reelix/TheoraVideoManager.h"
#include "vessot/Log.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

constexpr int FRAMES = 48;
constexpr float PERIOD = 1.0f / 25.0f;

const morvec::Rectangle PLACES[2] = {{0, 0, 426, 240}, {0, 80, 426, 240}};

std::filesystem::path folder() {
    return std::filesystem::temp_directory_path() / "zeph-bench-video" / "bench_video";
}

mediagen::Bytes clipBytes(bool alpha) {
    mediagen::ClipSettings settings;
    settings.width = 640;
    settings.height = 360;
    settings.frames = 100;
    settings.fps = 25;
    settings.textured = true;
    settings.alpha = alpha;
    settings.keyframeInterval = 64;
    return mediagen::theoraClip(settings);
}

// The chapter "bench_video" with the scene "Room": the plain clip, and the alpha clip over it.
std::string writeChapter() {
    std::filesystem::path root = folder();
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "scenes");
    std::filesystem::create_directories(root / "action_maps");
    std::filesystem::create_directories(root / "video");
    mediagen::writeFile(root / "video/plain.ogv", clipBytes(false));
    mediagen::writeFile(root / "video/alpha.ogv", clipBytes(true));
    std::vector<uint8_t> map = ampmaker::encode({}, 426, 320);
    std::ofstream(root / "action_maps/Room.amp", std::ios::binary).write((const char*)map.data(), (long)map.size());
    std::ofstream(root / "bench_video_hd.datadef") << "<Dataset/>\n";
    std::ofstream(root / "scenes/Room.scene")
        << "<Scene name='Room' image='null'>\n"
        << "<Object type='VideoObject' name='plain' x='0' y='0' w='426' h='240' video='plain'/>\n"
        << "<Object type='VideoObject' name='alpha' x='0' y='80' w='426' h='240' video='alpha' video_alpha='1'"
        << " blend_mode='alpha'/>\n"
        << "</Scene>\n";
    return (root / "bench_video_hd.datadef").string();
}

// Waits until the clip has its next frame decoded (or has no more).
void waitForWorker(TheoraVideoClip* clip) {
    clip->waitForCache(0.0f, 1.0f);
}

class Direct {
public:
    Direct(const std::string& path, bool alpha, const morvec::Rectangle& place) : place(place) {
        format = nimbo::rendersys->getNativeTextureFormat(alpha ? nimbo::FORMAT_RGBA : nimbo::FORMAT_RGBX);
        clip = nimbovideo::videoManager->createVideoClip(path, alpha ? TheoraOutputRGBA : TheoraOutputRGB, 16);
        texture = nimbo::rendersys->createTexture(1024, 512, nimbo::Color::Clear, format, nimbo::Texture::TYPE_DYNAMIC);
        source = morvec::Rectangle(0, 0, (float)clip->getSubFrameWidth(), (float)clip->getSubFrameHeight());
    }
    ~Direct() {
        nimbovideo::videoManager->destroyVideoClip(clip);
        delete texture;
    }

    void draw() {
        if (TheoraVideoFrame* frame = clip->getNextFrame()) {
            texture->write(0, 0, frame->getWidth(), frame->getHeight(), 0, 0, frame->getBuffer(), frame->getStride(),
                           frame->getHeight(), format);
            clip->popFrame();
        }
        nimbo::rendersys->drawTexture(texture, source, place);
    }

    TheoraVideoClip* clip;

private:
    morvec::Rectangle place;
    morvec::Rectangle source;
    nimbo::ImageFormat format;
    nimbo::Texture* texture;
};

} // namespace

void compareVideoInScene() {
    setenv("ZEPH_HEADLESS", "1", 1);
    vessot::Log::setEcho(false);
    nimbo::init();
    nimbo::createRenderSystem();
    nimbo::createWindow(640, 480, false, "bench");
    nimbo::rendersys->setOrthoProjection(morvec::Vector2(426, 320));
    nimboui::init();
    for (const char* name : {"active_scene", "prev_scene"}) {
        Vars::getOrCreate(name)->name = name;
    }
    auto* chapter = new Chapter(writeChapter(), nullptr);
    chapter->load();
    Scene* scene = chapter->getScene("Room");
    Session::activeScene = scene;
    scene->activate();
    scene->draw(); // the clips are made on the first draw
    std::vector<nimbovideo::VideoObject*> videos;
    for (const char* name : {"plain", "alpha"}) {
        videos.push_back(dynamic_cast<nimbovideo::VideoObject*>(chapter->getObject(name)));
    }
    // The direct clips go before the last video object takes the shared manager with it.
    {
        Direct plain((folder() / "video/plain.ogv").string(), false, PLACES[0]);
        Direct alpha((folder() / "video/alpha.ogv").string(), true, PLACES[1]);
        std::vector<Direct*> direct{&plain, &alpha};

        auto inScene = [&] {
            for (nimbovideo::VideoObject* video : videos) {
                video->setProperty("time", "0");
            }
            for (int frame = 0; frame < FRAMES; ++frame) {
                for (nimbovideo::VideoObject* video : videos) {
                    waitForWorker(video->getClip());
                }
                nimbo::rendersys->clear();
                scene->draw();
                nimbo::rendersys->redrawNextFrame();
                nimbo::rendersys->presentFrame();
                scene->update(PERIOD);
            }
        };
        auto directly = [&] {
            for (Direct* d : direct) {
                d->clip->seek(0.0f);
            }
            for (int frame = 0; frame < FRAMES; ++frame) {
                for (Direct* d : direct) {
                    waitForWorker(d->clip);
                }
                nimbo::rendersys->clear();
                for (Direct* d : direct) {
                    d->draw();
                }
                nimbo::rendersys->redrawNextFrame();
                nimbo::rendersys->presentFrame();
                for (Direct* d : direct) {
                    d->clip->update(PERIOD);
                }
            }
        };
        auto [ours, baseline] = benchreport::alternatingMedians(inScene, directly, 7, 2);
        benchreport::ratio("video_object", ours / baseline);
        benchreport::figure("video_object_frame", ours / FRAMES, "ms");
    }
    Session::activeScene = nullptr;
    nimboui::destroy();
    nimbo::destroy();
    std::filesystem::remove_all(folder().parent_path());
}
