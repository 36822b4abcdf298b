#pragma once
// A character: an object of the characters chapter that is both an image box, showing the current
// animation frame, and an actor running the character's job queue. Scenes never hold it; they show
// it through Character2DRef objects, which place it and draw it at their depth.
//
// Frames are images of the characters chapter named "characters." + actor name + "/" + animation +
// "_" + facing + "." + frame (animations drawn per direction) or without the "_" + facing part
// (drawn once); frames count from 01.

#include "marionix/Actor.h"
#include "nimboui/ImageBox.h"

#include <map>

using vessot::String;

struct CharacterAnimation {
    int frames = 0;
    float length = 0.0f;
};

class Character2D : public nimboui::ImageBox, public Marionix::Actor {
public:
    Character2D(const String& name, const morvec::Rectangle& rect);

    // "chr" (the actor name; shows the south stand frame), "yfactor", "speed", "Animation:NAME"
    // ("frames,length"), else the image box's properties. Answers true for every name.
    bool setProperty(const String& name, const String& value) override;
    // Runs the job queue, follows the actor's position and shows the walking frames.
    void update(float dt) override;

    void OnStopMovement() override;
    void OnDirectionChanged() override;
    void OnStopAnimation(const String& animation) override;
    // Shows the frame of the animation at progress t (0 to 1); t = 1 holds the last frame.
    void getAnimationFrameName(const String& animation, float t) override;
    float getAnimationLength(const String& animation) override;
    // 0 restores the default speed instead.
    void setSpeed(float speed) override;
    morvec::Vector3 getPosition() const override;

    using Marionix::Actor::setPosition;
    using nimboui::Object::setPosition;

    // The actor name (the "chr" property); the GUI name is nimboui::Object::getName.
    String getName() const { return actorName; }
    String getOrientation() const { return facing; }
    // Turns to the direction and shows its stand frame.
    void setOrientation(const String& direction);
    // Stands at (x, y) facing the direction, without counting as movement.
    void placeAt(const String& direction, float x, float y);
    // "x,y,direction", x and y read as numbers the way text converts ("12abc" is 12); an empty text
    // does nothing, a text of fewer parts throws.
    void setPositionFromString(const String& text);
    // The variable GUI name + "_pos" := "x,y,facing" with whole numbers, without a log line.
    void savePosition();
    // Stands where that variable says; a value that is no position is logged and forgotten, a facing
    // that is none of the eight is logged and reads as "S".
    void loadPosition();

    // The value of the stored variable actor name + "_stand", else "Stand".
    String getStandAnimation() const;
    // Throws when the character has no such animation.
    const CharacterAnimation& getAnimation(const String& name) const;
    // Shows the frame: per direction when the chapter has it, else drawn once; neither throws.
    void getFrameImageName(const String& animation, int frame);
    // Where the frame is drawn H units high with its anchor (feet) at the position plus offset, and its
    // tint (the scene's light at the feet, faded by the alpha); false when nothing is drawn.
    bool placeFrame(const morvec::Vector2& offset, float height, morvec::Rectangle& dest, nimbo::Color& tint);

    // The facing of a direction: the angle clockwise from straight up, measured in the active scene's
    // depth-corrected space, in eighths. A zero direction keeps current.
    static String facingFor(float dx, float dy, const String& current);

    // Reorders the active scene's top-level character references (by their character's y) and
    // "zorder" objects (by their y plus the number after the "," of their name) so that those lower
    // on the screen are drawn later; every other child keeps its slot, and equal keys their order.
    static void sortSceneObjects();

    const String& getLastAttachScene() const { return lastAttachScene; }
    void setLastAttachScene(const String& scene) { lastAttachScene = scene; }

    // The walking-frame counter: 1.0 at the start of a cycle; kept when a walk ends.
    float walkFrame = 1.0f;
    float walkAnimationFactor = 1.0f;

private:
    void turn(const String& direction);
    void showStandFrame();
    void showWalkingFrame(float dt);
    // The image of that name, null when the chapter has none.
    nimboui::Image* findFrame(const String& name);
    void show(nimboui::Image* frame);

    String facing = "S";
    float yfactor = 1.0f;
    float defaultSpeed = 50.0f;
    std::map<String, CharacterAnimation> animations;
    String lastAttachScene;
};
