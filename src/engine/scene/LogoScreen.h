#pragma once
// A scene that shows the pictures of a folder ("path") one after another, each fading in from
// black over "fade_time" seconds, held for "duration" seconds and fading out again, and then runs
// its chapter's named action scene name + "_done". A click runs that action at once (the pictures
// go on until the scene is left). The pictures are read when the scene file is, and freed when the
// scene is left, so the series shows once per loading of its chapter.

#include "engine/scene/Scene.h"

#include "morvec/Rectangle.h"

#include <vector>

namespace nimbo {
class Texture;
}

class LogoScreen : public Scene {
public:
    LogoScreen(Chapter* chapter, const String& name);
    ~LogoScreen() override;

    void onEnter() override;
    void onLeave() override;
    void onUpdate(float dt) override;
    bool onMouseUp(float x, float y, int button) override;
    // Only the current picture, over the whole visible area; a cleared frame once none is left.
    void draw() override;
    // Reads "duration", "fade_time" and "path" (required), then the pictures.
    void load(vessxml::Node* sceneElement) override;

    // The pictures still to show, the one on screen first.
    const std::vector<nimbo::Texture*>& getLogos() const { return mLogos; }
    // How bright the current picture is drawn: 0 black to 1.
    float getBrightness() const;

private:
    void loadPictures();
    // Loads one picture; a file the texture loader cannot read is skipped with a log line.
    void loadPicture(const String& path);
    void runEndAction();
    morvec::Rectangle destination(const nimbo::Texture* texture) const;
    void freePictures();

    String mPath;
    float mDuration = 3.0f;
    float mFadeTime = 1.0f;
    std::vector<nimbo::Texture*> mLogos;
    float mTime = 0.0f;
    bool mSkipped = false;
    // An empty series ends as soon as the scene has been entered.
    bool mEndPending = false;
};
