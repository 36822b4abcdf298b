#include "engine/scene/LogoScreen.h"

#include "engine/scene/Chapter.h"
#include "engine/session/Session.h"
#include "engine/session/zephUtil.h"
#include "script/Action.h"

#include "morvec/Matrix4.h"
#include "nimbo/Image.h"
#include "nimbo/Nimbo.h"
#include "nimbo/RenderSystem.h"
#include "nimbo/Window.h"
#include "vessot/File.h"
#include "vessot/Log.h"
#include "vessxml/Xml.h"

#include <algorithm>

namespace {

// The widest picture shape kept whole: 16:9.
constexpr float WIDE_ASPECT = 16.0f / 9.0f;

} // namespace

LogoScreen::LogoScreen(Chapter* chapter, const String& name) : Scene(chapter, name) {}

LogoScreen::~LogoScreen() {
    freePictures();
}

void LogoScreen::load(vessxml::Node* sceneElement) {
    Scene::load(sceneElement);
    mDuration = sceneElement->pfloat("duration", 3.0f);
    mFadeTime = sceneElement->pfloat("fade_time", 1.0f);
    mPath = sceneElement->pstr("path");
    String refusal = zephUtil::leavesFolder("path", mPath, "a folder under the game's folder");
    if (!refusal.empty()) {
        sceneElement->fail(refusal);
    }
    loadPictures();
}

void LogoScreen::loadPictures() {
    if (!mPath.endsWith("/")) {
        mPath += "/";
    }
    vessot::Array<String> files = vessot::ResourceDir::files(mPath, true);
    for (const String& file : files) {
        if (file.endsWith("/.") || file.endsWith("/..") || file.contains(".svn")) {
            continue;
        }
        if (!file.endsWith(".png")) {
            // The same picture as ".png" wins over any other format.
            String png = file.rsplit(".", 1)[0] + ".png";
            if (std::find(files.begin(), files.end(), png) != files.end()) {
                continue;
            }
        }
        loadPicture(file);
    }
}

void LogoScreen::loadPicture(const String& path) {
    int width = 0;
    int height = 0;
    if (nimbo::Image::readSize(path, width, height)) {
        nimbo::Texture* texture = nimbo::rendersys->createTextureFromResource(path, nimbo::Texture::TYPE_MANAGED, true);
        // A picture that does not decode comes back as the loader's 1 x 1 stand-in.
        if (texture->getWidth() == width && texture->getHeight() == height) {
            mLogos.push_back(texture);
            return;
        }
        delete texture;
    }
    vessot::Log::write("zeph", "logo screen " + getFullName() + ": skipping '" + path + "', not a readable picture");
}

void LogoScreen::freePictures() {
    for (nimbo::Texture* texture : mLogos) {
        delete texture;
    }
    mLogos.clear();
}

void LogoScreen::onEnter() {
    mSkipped = false;
    mTime = 0.0f;
    mEndPending = mLogos.empty();
}

void LogoScreen::onLeave() {
    freePictures();
}

void LogoScreen::runEndAction() {
    chapter->getNamedAction(name + "_done")->execute();
}

void LogoScreen::onUpdate(float dt) {
    // The end action of an empty series waits for the scene's entrance to finish: a scene switch
    // asked for while a transition runs would be dropped.
    if (mEndPending && !mSkipped && !Session::activeTransition) {
        mEndPending = false;
        runEndAction();
        return;
    }
    mTime += dt;
    if (mTime > mDuration + 2 * mFadeTime && !mLogos.empty()) {
        mTime = 0.0f;
        delete mLogos.front();
        mLogos.erase(mLogos.begin());
        if (mLogos.empty()) {
            runEndAction();
        }
    }
}

bool LogoScreen::onMouseUp(float, float, int) {
    if (mSkipped) {
        return false;
    }
    mSkipped = true;
    runEndAction();
    return true;
}

float LogoScreen::getBrightness() const {
    float brightness = 1.0f;
    if (mTime < mFadeTime) {
        brightness = mTime / mFadeTime;
    } else if (mTime > mDuration + mFadeTime) {
        brightness = 1.0f - (mTime - mDuration - mFadeTime) / mFadeTime;
    }
    return std::clamp(brightness, 0.0f, 1.0f);
}

morvec::Rectangle LogoScreen::destination(const nimbo::Texture* texture) const {
    morvec::Matrix4 inverse = nimbo::rendersys->getProjectionMatrix().inverse();
    morvec::Vector3 topLeft = inverse.transformPoint(morvec::Vector3(-1, 1, 0));
    morvec::Vector3 topRight = inverse.transformPoint(morvec::Vector3(1, 1, 0));
    morvec::Vector3 bottomRight = inverse.transformPoint(morvec::Vector3(1, -1, 0));
    float width = topRight.x - topLeft.x;
    float height = bottomRight.y - topRight.y;
    if (!texture->getFilename().contains("_wide.")) {
        return morvec::Rectangle(topLeft.x, topLeft.y, width, height);
    }
    // A 16:9 picture keeps its shape at full height, cut off at the sides of narrower windows.
    float aspect = std::min(nimbo::window->getAspectRatio(), WIDE_ASPECT);
    float wideWidth = width * WIDE_ASPECT / aspect;
    return morvec::Rectangle(topLeft.x - (wideWidth - width) / 2, topLeft.y, wideWidth, height);
}

void LogoScreen::draw() {
    nimbo::RenderSystem* renderer = nimbo::rendersys;
    if (mLogos.empty()) {
        renderer->clear(true, false);
        return;
    }
    nimbo::Texture* texture = mLogos.front();
    renderer->setTexture(texture);
    uint8_t level = zephUtil::alphaByte(getBrightness());
    // The picture is the top three quarters of its texture; the bottom quarter is never shown.
    renderer->drawTexturedRect(destination(texture), morvec::Rectangle(0, 0, 1, 0.75f),
                               nimbo::Color(level, level, level, 255));
}
