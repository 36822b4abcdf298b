#include "engine/objects/VideoObject.h"

#include "engine/app/Engine.h"
#include "engine/objects/AudioVideoTimer.h"
#include "engine/session/zephUtil.h"

#include "echon/AudioManager.h"
#include "nimbo/Nimbo.h"
#include "nimbo/RenderSystem.h"
#include "nimbo/SystemInfo.h"
#include "nimbo/Window.h"
#include "nimboui/Dataset.h"
#include "nimboui/Image.h"
#include "nimboui/Texture.h"
#include "reelix/TheoraVideoManager.h"
#include "vessot/Exception.h"
#include "vessot/File.h"
#include "vessot/Log.h"

#include <algorithm>
#include <memory>
#include <vector>

NimboVideoDataSource::NimboVideoDataSource(const vessot::String& filename)
    : TheoraFileDataSource(filename), mFilename(filename) {}

namespace nimbovideo {

TheoraVideoManager* videoManager = nullptr;
int videoObjectCount = 0;
vessot::String defaultVideoExtension = ".ogv";
const vessot::String logChannel = "nimbovideo";

void logFunction(const vessot::String& message) {
    vessot::Log::write(logChannel, message);
}

namespace {

// Files below this size are read into memory when the system has more than 256 MB.
constexpr int64_t PRELOAD_LIMIT = 64 * 1024 * 1024;

int powerOfTwoAtLeast(int n) {
    int p = 1;
    while (p < n) {
        p *= 2;
    }
    return p;
}

// The video library's output for the render system's texture layout; 0 (refused) for others.
int outputModeFor(nimbo::ImageFormat format) {
    switch (format) {
    case nimbo::FORMAT_RGBA:
        return TheoraOutputRGBA;
    case nimbo::FORMAT_RGBX:
        return TheoraOutputRGB;
    }
    return 0;
}

// The decoder's look-ahead by the memory size in megabytes.
int precacheFrames(int ram, const vessot::String& path) {
    if (ram < 384) {
        return 4;
    }
    if (ram < 512) {
        return 6;
    }
    if (ram < 1024) {
        return path.contains("lowres") ? 16 : 8;
    }
    return 16;
}

const char* const BLEND_MODES[] = {"default", "alpha", "add", "substract", "overwrite"};

// The clip's and its sound's names are joined to the chapter's video folder and must stay in it.
void requireInVideoFolder(const vessot::String& key, const vessot::String& name) {
    vessot::String refusal = zephUtil::leavesFolder(key, name, "a file of the chapter's video folder");
    if (!refusal.empty()) {
        throw vessot::exception(refusal, __FILE__, __LINE__);
    }
}

} // namespace

VideoObject::VideoObject(const vessot::String& name, const morvec::Rectangle& rect) : nimboui::ImageBox(name, rect) {
    ++videoObjectCount;
    if (!videoManager) {
        videoManager = new TheoraVideoManager(videoWorkerCount);
        for (const vessot::String& decoder : videoManager->getSupportedDecoders()) {
            if (decoder == "AVFoundation") {
                defaultVideoExtension = ".mp4";
            }
        }
    }
}

VideoObject::~VideoObject() {
    --videoObjectCount;
    destroyResources();
    if (videoObjectCount <= 0 && videoManager) {
        vessot::Log::write(logChannel, "Destroying Video manager, no more active clips found.");
        delete videoManager;
        videoManager = nullptr;
    }
}

vessot::String VideoObject::fullPath() {
    vessot::String path = getDataset()->getFilePath() + "/video/" + mVideoName;
    if (path.endsWith(".ogg") || path.endsWith(".ogv") || path.endsWith(".mp4")) {
        return path;
    }
    return path + (vessot::Resource::exists(path + defaultVideoExtension, true) ? defaultVideoExtension : ".ogv");
}

bool VideoObject::setProperty(const vessot::String& name, const vessot::String& value) {
    if (name == "video") {
        requireInVideoFolder(name, value);
        mVideoName = value;
        vessot::String path = fullPath();
        if (!vessot::Resource::exists(path, true)) {
            // Logged, not thrown: the scene goes on with an object that shows nothing.
            vessot::Log::errorf(logChannel, "%s", "Unable to find video file: " + path);
            mVideoName = "";
        }
    } else if (name == "video_alpha") {
        mAlphaVideo = value.toBool();
    } else if (name == "alpha_pause_treshold") {
        mAlphaPauseThreshold = std::clamp(value.toInt(), 0, 255);
    } else if (name == "loop") {
        mLoop = value.toBool();
    } else if (name == "speed") {
        mSpeed = value.toFloat();
    } else if (name == "time") {
        seek(value.toFloat());
    } else if (name == "audio") {
        requireInVideoFolder(name, value);
        mAudioName = value;
    } else if (name == "sync_offset") {
        mSyncOffset = value.toFloat();
    } else if (name == "blend_mode") {
        const auto* found = std::find(std::begin(BLEND_MODES), std::end(BLEND_MODES), value);
        if (found == std::end(BLEND_MODES)) {
            vessot::Log::errorf(logChannel, "Unknown VideoObject blend mode: %s", value);
            return true;
        }
        mBlendMode = (int)(found - std::begin(BLEND_MODES));
        if (mVideoImage) {
            mVideoImage->setBlendMode(mBlendMode);
        }
    } else if (name == "state") {
        if (value == "playing") {
            if (mClip && mClip->isPaused()) {
                mClip->play();
            }
        } else if (value == "paused") {
            if (mClip && !mClip->isPaused()) {
                mClip->pause();
            }
        } else {
            VESSOT_THROW("VideoObject: unable to set state property to '" + value + "'.");
        }
    } else {
        return nimboui::ImageBox::setProperty(name, value);
    }
    return true;
}

void VideoObject::seek(float time) {
    if (!mClip && !mVideoName.empty()) {
        update(0.0f);
    }
    if (!mClip) {
        vessot::Log::warn(logChannel, "VideoObject ignoring 'time' param, mClip is NULL");
        return;
    }
    mClip->seek(time);
    mSeeked = true;
}

void VideoObject::notifyEvent(const vessot::String& event, void* params) {
    if (event == "AttachToObject" && (!mVideoImage || getImage() != mVideoImage)) {
        setImage(getDataset() ? getDataset()->findImage("null") : nullptr);
    }
    nimboui::ImageBox::notifyEvent(event, params);
}

void VideoObject::update(float dt) {
    nimboui::Object::update(dt);
    if (!mClip) {
        return;
    }
    if (!mLoop) {
        bool done = mClip->isDone();
        bool finished = done && !mPrevDone;
        mPrevDone = done;
        if (finished) {
            const Handle self = handle();
            triggerEvent("PlaybackDone", 0, 0, "");
            if (!self.alive() || !mClip) {
                return;
            }
        }
    }
    mClip->update(dt);
    // The derived alpha already holds the object's own.
    uint8_t alpha = zephUtil::alphaByte(getDerivedAlpha());
    if (alpha == mPrevAlpha) {
        return;
    }
    mPrevAlpha = alpha;
    if (mAlphaPauseThreshold >= alpha) {
        if (!mClip->isPaused()) {
            mClip->pause();
        }
    } else if (mClip->isPaused()) {
        mClip->play();
    }
}

void VideoObject::OnDraw(const morvec::Vector2&) {
    const Handle self = handle();
    if (!mClip && !mVideoName.empty()) {
        try {
            createClip();
        } catch (const vessot::exception& e) {
            vessot::Log::errorf(logChannel, "%s", e.message());
            destroyResources();
            mVideoName = "";
        }
        if (!self.alive()) {
            return;
        }
    }
    if (mClip) {
        TheoraVideoFrame* frame = mClip->getNextFrame();
        bool taken = true;
        nimbo::Texture* target = mTexture->getRenderTexture();
        if (target && !target->isLoaded()) {
            mTexture->load();
            if (!frame) {
                if (mClip->getNumReadyFrames() == 0) {
                    mClip->waitForCache(0.5f, 1.0f);
                }
                frame = mClip->getFrameQueue()->getFirstAvailableFrame();
                taken = false;
                if (!frame) {
                    std::vector<unsigned char> blank((size_t)target->getWidth() * target->getHeight() * 4, 0);
                    target->write(0, 0, target->getWidth(), target->getHeight(), 0, 0, blank.data(), target->getWidth(),
                                  target->getHeight(), target->getFormat());
                }
            }
        }
        if (frame && !uploadFrame(frame, taken)) {
            return;
        }
    }
    nimboui::ImageBox::OnDraw(morvec::Vector2(0, 0));
}

bool VideoObject::uploadFrame(TheoraVideoFrame* frame, bool taken) {
    setImage(mVideoImage);
    nimbo::ImageFormat format =
        nimbo::rendersys->getNativeTextureFormat(mAlphaVideo ? nimbo::FORMAT_RGBA : nimbo::FORMAT_RGBX);
    mTexture->getRenderTexture()->write(0, 0, frame->getWidth(), frame->getHeight(), 0, 0, frame->getBuffer(),
                                        frame->getStride(), frame->getHeight(), format);
    int number = frame->getFrameNumber();
    if (taken) {
        mClip->popFrame();
    }
    bool startedOver = mLoop && !mSeeked && number < mPrevFrameNumber;
    if (mLoop) {
        mSeeked = false;
    }
    mPrevFrameNumber = number;
    if (!startedOver) {
        return true;
    }
    const Handle self = handle();
    triggerEvent("PlaybackDone", 0, 0, "");
    return self.alive();
}

void VideoObject::createClip() {
    vessot::String path = fullPath();
    nimbo::ImageFormat format =
        nimbo::rendersys->getNativeTextureFormat(mAlphaVideo ? nimbo::FORMAT_RGBA : nimbo::FORMAT_RGBX);
    destroyResources();
    int ram = nimbo::getSystemInfo().ram;
    mClip = openClip(path, outputModeFor(format), precacheFrames(ram, path));
    if (mClip->getWidth() == 0) {
        VESSOT_THROW("Failed to load video file: " + path);
    }
    mClip->setAutoRestart(mLoop);
    nimbo::Texture* target =
        nimbo::rendersys->createTexture(powerOfTwoAtLeast(mClip->getWidth()), powerOfTwoAtLeast(mClip->getHeight()),
                                        nimbo::Color::Clear, format, nimbo::Texture::TYPE_DYNAMIC);
    mTexture = new nimboui::Texture(target->getFilename(), target);
    mVideoImage =
        new nimboui::Image(mTexture, "video_img",
                           morvec::Rectangle((float)mClip->getSubFrameOffsetX(), (float)mClip->getSubFrameOffsetY(),
                                             (float)mClip->getSubFrameWidth(), (float)mClip->getSubFrameHeight()),
                           false, false, false);
    mVideoImage->setBlendMode(mBlendMode);
    mClip->waitForCache(0.0f, 5.0f);
    mClip->waitForCache(0.25f, 0.5f);
    if (!mAudioName.empty()) {
        createAudio();
    } else if (mSpeed != 1.0f) {
        mClip->setPlaybackSpeed(mSpeed);
    }
    update(0.0f);
}

TheoraVideoClip* VideoObject::openClip(const vessot::String& path, int outputMode, int precache) {
    if (path.endsWith("mp4")) {
        bool prefixed = nimbo::window && nimbo::window->getName() == "OpenKODE";
        return videoManager->createVideoClip(prefixed ? "res/" + path : path, outputMode, precache, false);
    }
    if (nimbo::getSystemInfo().ram <= 256) {
        return videoManager->createVideoClip(new NimboVideoDataSource(path), outputMode, precache, false);
    }
    vessot::Resource file(path);
    int64_t size = file.size();
    TheoraVideoClip* clip = nullptr;
    if (size < PRELOAD_LIMIT) {
        vessot::Log::write(logChannel, "Preloading video file to memory: " + path);
        std::unique_ptr<unsigned char[]> buffer(new unsigned char[size]);
        if (file.read_raw(buffer.get(), (int)size) != size) {
            VESSOT_THROW("Failed to read video file: " + path);
        }
        clip = videoManager->createVideoClip(new TheoraMemoryFileDataSource(buffer.release(), (uint64_t)size, path),
                                             outputMode, precache, false);
    } else {
        clip = videoManager->createVideoClip(new NimboVideoDataSource(path), outputMode, precache, false);
    }
    file.close();
    vessot::Log::write(logChannel, "Created video clip.");
    return clip;
}

void VideoObject::createAudio() {
    vessot::String category = "video";
    if (mAudioName.contains("/")) {
        vessot::Array<vessot::String> parts = vessot::DirBase::split_path(mAudioName);
        if (parts.size() >= 2 && echon::mgr->hasCategory(parts[-2])) {
            category = parts[-2];
        }
    }
    if (category == "video" && !echon::mgr->hasCategory("video")) {
        echon::mgr->createCategory("video", echon::BUFFER_ON_DEMAND, echon::SOURCE_RESOURCE);
    }
    mAudioSound = echon::mgr->createSound(getDataset()->getFilePath() + "/video/" + mAudioName, category, "");
    mAudioPlayer = echon::mgr->createPlayer(mAudioSound->getName());
    mTimer = new AudioVideoTimer(mAudioPlayer, mSyncOffset);
    mClip->setTimer(mTimer);
    mAudioPlayer->play(0.0f, false);
}

void VideoObject::destroyResources() {
    if (mVideoImage) {
        setImage(getDataset() ? getDataset()->findImage("null") : nullptr);
        delete mVideoImage;
        mVideoImage = nullptr;
    }
    delete mTexture;
    mTexture = nullptr;
    if (mClip) {
        videoManager->destroyVideoClip(mClip);
        mClip = nullptr;
    }
    if (mAudioPlayer) {
        echon::mgr->destroyPlayer(mAudioPlayer);
        mAudioPlayer = nullptr;
    }
    if (mAudioSound) {
        echon::mgr->destroySound(mAudioSound);
        mAudioSound = nullptr;
    }
    delete mTimer;
    mTimer = nullptr;
}

} // namespace nimbovideo
