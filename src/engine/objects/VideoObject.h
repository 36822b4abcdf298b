#pragma once
// Videos in scenes: an image box that decodes a Theora clip of its chapter's "video" folder and
// shows each due frame. The clip is made on the first draw; a sound of its own ("audio") then drives
// the clock through an AudioVideoTimer. Every video object shares one video manager, made by the
// first and destroyed with the last. A file that is missing or cannot be read is logged with its
// name; the object then shows nothing and the scene goes on.

#include "nimboui/ImageBox.h"
#include "reelix/TheoraDataSource.h"

#include <cstdint>

class TheoraVideoClip;
class TheoraVideoFrame;
class TheoraVideoManager;

namespace echon {
class Player;
class Sound;
} // namespace echon

namespace nimboui {
class Image;
class Texture;
} // namespace nimboui

// Streams a clip from a game resource through a file handle of its own, on the decoding worker.
class NimboVideoDataSource : public TheoraFileDataSource {
public:
    explicit NimboVideoDataSource(const vessot::String& filename);
    vessot::String repr() override { return "JRESOURCE:" + mFilename; }

private:
    vessot::String mFilename;
};

namespace nimbovideo {

class AudioVideoTimer;

extern TheoraVideoManager* videoManager;
extern int videoObjectCount;
// Tried first for a "video" name without an extension.
extern vessot::String defaultVideoExtension;
extern const vessot::String logChannel;

// Writes a message of the video library on the log channel "nimbovideo".
void logFunction(const vessot::String& message);

class VideoObject : public nimboui::ImageBox {
public:
    VideoObject(const vessot::String& name, const morvec::Rectangle& rect);
    ~VideoObject() override;

    // "AttachToObject" shows nothing until the first frame is up.
    void notifyEvent(const vessot::String& event, void* params) override;
    // Advances the clip, fires "PlaybackDone" when a clip that does not loop ends, and pauses the
    // clip while the object's alpha is at most "alpha_pause_treshold".
    void update(float dt) override;
    // "video", "video_alpha", "alpha_pause_treshold", "loop", "speed", "time" (a seek), "audio",
    // "sync_offset", "blend_mode", "state"; other names go to the image box.
    bool setProperty(const vessot::String& name, const vessot::String& value) override;
    // Makes the clip on the first draw, uploads a due frame, and draws at offset (0, 0).
    void OnDraw(const morvec::Vector2& offset) override;

    TheoraVideoClip* getClip() const { return mClip; }
    // The number of the last frame shown.
    int getFrameNumber() const { return mPrevFrameNumber; }

private:
    // The chapter's "video" folder + the name, with an extension worked out when it has none.
    vessot::String fullPath();
    // Throws vessot::exception when the file cannot be read as a clip.
    void createClip();
    TheoraVideoClip* openClip(const vessot::String& path, int outputMode, int precache);
    void createAudio();
    // Shows the frame; a looping clip that started over fires "PlaybackDone". Answers whether the
    // object still exists afterwards.
    bool uploadFrame(TheoraVideoFrame* frame, bool taken);
    void destroyResources();
    void seek(float time);

    bool mPrevDone = false;
    bool mAlphaVideo = false;
    bool mLoop = false;
    vessot::String mVideoName;
    TheoraVideoClip* mClip = nullptr;
    AudioVideoTimer* mTimer = nullptr;
    int mBlendMode = 0;
    nimboui::Texture* mTexture = nullptr;
    nimboui::Image* mVideoImage = nullptr;
    float mSpeed = 1.0f;
    int mPrevFrameNumber = 0;
    bool mSeeked = false;
    int mAlphaPauseThreshold = 0;
    uint8_t mPrevAlpha = 255;
    float mSyncOffset = 0.0f;
    vessot::String mAudioName;
    echon::Player* mAudioPlayer = nullptr;
    echon::Sound* mAudioSound = nullptr;
};

} // namespace nimbovideo
