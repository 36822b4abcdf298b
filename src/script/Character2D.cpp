#include "script/Character2D.h"

#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"

#include "nimboui/Dataset.h"
#include "nimboui/Exception.h"
#include "nimboui/Image.h"
#include "vessot/Format.h"

#include <algorithm>
#include <cmath>

namespace {

const char* const FACINGS[] = {"N", "NE", "E", "SE", "S", "SW", "W", "NW", "N"};

// The value of a stored variable (computed ones do not count), or the fallback.
String storedValue(const String& name, const String& fallback) {
    auto found = Vars::variables.variables.find(name);
    return found == Vars::variables.variables.end() ? fallback : found->second.getValue();
}

float depthAt(float y) {
    return Session::activeScene ? Session::activeScene->getDepthScale(y) : 0.0f;
}

// "x,y,direction" with x and y numbers.
bool isPosition(const vessot::Array<String>& parts) {
    return parts.size() >= 3 && parts[0].isNumber() && parts[1].isNumber();
}

// One of the eight facings every character is drawn in.
bool isFacing(const String& direction) {
    return std::find(std::begin(FACINGS), std::end(FACINGS), direction) != std::end(FACINGS);
}

} // namespace

Character2D::Character2D(const String& name, const morvec::Rectangle& rect)
    : nimboui::ImageBox("Character2D", name, rect), Marionix::Actor(name) {}

bool Character2D::setProperty(const String& name, const String& value) {
    if (name == "chr") {
        actorName = value;
        show(findFrame("characters." + actorName + "/" + getStandAnimation() + "_S.01"));
    } else if (name == "yfactor") {
        yfactor = value.toFloat();
    } else if (name == "speed") {
        defaultSpeed = value.toFloat();
        actorSpeed = defaultSpeed;
    } else if (name.startsWith("Animation:")) {
        vessot::Array<String> parts = value.split(",");
        if (parts.size() < 2) {
            throw nimboui::_GenericException("character '" + nimboui::Object::getName() + "': " + name + " needs '" +
                                                 "frames,length', not '" + value + "'",
                                             "GenericException", __FILE__, __LINE__);
        }
        animations[name.split(":")[1]] = {parts[0].toInt(), parts[1].toFloat()};
    } else {
        nimboui::ImageBox::setProperty(name, value);
    }
    return true;
}

void Character2D::update(float dt) {
    Marionix::Actor::update(dt);
    nimboui::Object::update(dt);
    nimboui::Object::setPosition(actorPosition.x, actorPosition.y);
    Marionix::Job* job = getCurrentJob();
    if (job && job->getTypeName() == "Move" && job->getFlag()) {
        showWalkingFrame(dt);
    }
}

void Character2D::showWalkingFrame(float dt) {
    String walk = storedValue(actorName + "_walk", "Walk");
    const CharacterAnimation& animation = animations[walk];
    if (animation.frames <= 0 || animation.length <= 0.0f) {
        return;
    }
    walkFrame += walkAnimationFactor * dt * (float)animation.frames / animation.length;
    // The counter wraps before it reaches the last frame, which a walk cycle never shows.
    if (walkFrame >= (float)animation.frames) {
        walkFrame = 1.0f;
    }
    if (walkFrame < 1.0f) {
        walkFrame = 1.0f;
    }
    String name = vessot::jsprintf("characters.%s/%s_%s.%02d", actorName, walk, facing, (int)walkFrame);
    if (name != imageName) {
        show(findFrame(name));
    }
}

void Character2D::OnStopMovement() {
    showStandFrame();
}

void Character2D::OnDirectionChanged() {
    facing = facingFor(actorDirection.x, actorDirection.y, facing);
}

String Character2D::facingFor(float dx, float dy, const String& current) {
    // Both vectors in the scene's depth-corrected space, in double precision so that no direction
    // is too short to measure.
    double ax = 10.0 * dx;
    double ay = 10.0 * dy;
    double az = depthAt(160.0f + 10.0f * dy) - depthAt(160.0f);
    double uz = depthAt(150.0f) - depthAt(160.0f);
    double a = std::sqrt(ax * ax + ay * ay + az * az);
    double u = std::sqrt(100.0 + uz * uz);
    if (a == 0.0) {
        return current;
    }
    double dot = (-10.0 * ay + az * uz) / (a * u);
    double angle = std::acos(std::clamp(dot, -1.0, 1.0)) * 57.29578;
    if (dx < 0.0f) {
        angle = 360.0 - angle;
    }
    int index = std::clamp((int)((angle + 22.5) / 45.0), 0, 8);
    return FACINGS[index];
}

void Character2D::OnStopAnimation(const String& animation) {
    // Taking and drawing a gun end on their last frame; the reversed animations bring the stand back.
    if (animation == "Take" || animation.contains("Draw") || animation.contains("Shot")) {
        return;
    }
    OnStopMovement();
}

void Character2D::getAnimationFrameName(const String& animation, float t) {
    int frames = animations[animation].frames;
    if (frames <= 0) {
        return;
    }
    int frame = (int)((float)frames * t + 1.0f);
    getFrameImageName(animation, frame == frames + 1 ? frames : frame);
}

float Character2D::getAnimationLength(const String& animation) {
    return animations[animation].length;
}

void Character2D::setSpeed(float speed) {
    actorSpeed = speed == 0.0f ? defaultSpeed : speed;
}

morvec::Vector3 Character2D::getPosition() const {
    return morvec::Vector3(actorPosition.x, actorPosition.y, 0.0f);
}

void Character2D::setOrientation(const String& direction) {
    turn(direction);
    showStandFrame();
}

void Character2D::placeAt(const String& direction, float x, float y) {
    nimboui::Object::setPosition(x, y);
    actorPosition = morvec::Vector3(x, y, 0.0f);
    turn(direction);
    showStandFrame();
}

// The actor reports only changes of direction; forgetting the last one makes the next walk set the
// facing again, even when it heads the way the previous walk did.
void Character2D::turn(const String& direction) {
    facing = direction;
    actorDirection = morvec::Vector3();
}

void Character2D::setPositionFromString(const String& text) {
    if (text.empty()) {
        return;
    }
    vessot::Array<String> parts = text.split(",");
    if (parts.size() < 3) {
        throw nimboui::_GenericException("character '" + nimboui::Object::getName() + "': the position '" + text +
                                             "' needs x, y and a direction",
                                         "GenericException", __FILE__, __LINE__);
    }
    placeAt(parts[2], parts[0].toFloat(), parts[1].toFloat());
}

void Character2D::savePosition() {
    String text = String((int)getX()) + "," + String((int)getY()) + "," + facing;
    Vars::get(nimboui::Object::getName() + "_pos")->setValue(text, true);
}

// A saved position that is no position (a damaged save) is forgotten: the scene places the character
// as on a first visit. A facing the character is not drawn in reads as the default one, south.
void Character2D::loadPosition() {
    Variable* saved = Vars::get(nimboui::Object::getName() + "_pos");
    String text = saved->getValue();
    if (text.empty()) {
        return;
    }
    vessot::Array<String> parts = text.split(",");
    if (!isPosition(parts)) {
        Session::log("ERROR: the variable " + saved->name + " ('" + text + "') is not a position of numbers; " +
                     nimboui::Object::getName() + " keeps the scene's placement");
        saved->setValue(saved->initialValue, true);
        lastAttachScene = "";
        return;
    }
    if (!isFacing(parts[2])) {
        String read = parts[0] + "," + parts[1] + ",S";
        Session::log("ERROR: the variable " + saved->name + " ('" + text + "') names no facing of " +
                     nimboui::Object::getName() + "; it reads as '" + read + "'");
        saved->setValue(read, true);
        text = read;
    }
    setPositionFromString(text);
}

String Character2D::getStandAnimation() const {
    return storedValue(actorName + "_stand", "Stand");
}

const CharacterAnimation& Character2D::getAnimation(const String& name) const {
    auto found = animations.find(name);
    if (found == animations.end()) {
        throw vessot::exception("Character animation '" + name + "' not found in " + actorName + "'s animations",
                                __FILE__, __LINE__);
    }
    return found->second;
}

void Character2D::getFrameImageName(const String& animation, int frame) {
    String perDirection = vessot::jsprintf("characters.%s/%s_%s.%02d", actorName, animation, facing, frame);
    nimboui::Image* image = findFrame(perDirection);
    if (!image) {
        image = findFrame(vessot::jsprintf("characters.%s/%s.%02d", actorName, animation, frame));
    }
    if (!image && getDataset()) {
        // Neither form exists: the dataset's own error names the frame.
        image = getDataset()->getImage(perDirection);
    }
    show(image);
}

void Character2D::showStandFrame() {
    show(findFrame("characters." + actorName + "/" + getStandAnimation() + "_" + facing + ".01"));
}

nimboui::Image* Character2D::findFrame(const String& name) {
    nimboui::Dataset* data = getDataset();
    return data ? data->findImage(name) : nullptr;
}

void Character2D::show(nimboui::Image* frame) {
    if (frame) {
        setImage(frame);
    }
}

bool Character2D::placeFrame(const morvec::Vector2& offset, float height, morvec::Rectangle& dest, nimbo::Color& tint) {
    if (!image || image->getSrcRect().h <= 0.0f || rect.h <= 0.0f) {
        return false;
    }
    float shownHeight = std::max(0.0f, height);
    float alpha = getDerivedAlpha();
    rect.w = image->getSrcRect().w * rect.h / image->getSrcRect().h;
    float width = rect.w / rect.h * shownHeight;
    float half = width * 0.5f;
    tint = Session::activeScene ? Session::activeScene->sampleLightMap(rect.x - half, rect.y)
                                : nimbo::Color(255, 255, 255, 255);
    tint.a = (uint8_t)(int)((float)tint.a * alpha);
    float x = rect.x + offset.x;
    float y = rect.y + offset.y;
    dest = morvec::Rectangle(x - half, y - yfactor * shownHeight, width, shownHeight);
    return true;
}
