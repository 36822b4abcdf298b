#pragma once
// The common base of the minigame scenes: the result commands read from the scene element, the
// pieces made from the scene file (registered with the chapter, which owns them, and attached to the
// scene by a boot command on every entry), the scene's sounds, the periodic solution check and the
// success report. Each entry starts a fresh game.

#include "engine/scene/Scene.h"

#include <functional>
#include <vector>

namespace nimboui {
class Image;
}

class MinigameScene : public Scene {
public:
    MinigameScene(Chapter* chapter, const String& name);

    // The scene's own attributes, then "on_success", "on_fail" and "on_skip".
    void load(vessxml::Node* sceneElement) override;

    // Whether the pieces turn both ways: code 0 one way, any other code the other. The input then
    // hands this scene the secondary button as code 0 and the primary as its own code.
    virtual bool turnsBothWays() const { return false; }

    // Runs the success command at once.
    void succeed();
    // Plays the sound that the scene property names, when it names one.
    void playSound(const String& property) const;

    // A solved minigame runs this; the fail and skip commands are kept for the data's sake, and
    // nothing runs them.
    String successCommand;
    String failCommand;
    String skipCommand;

protected:
    // The interval of the periodic check, and the timer value that stops it until the next entry.
    static constexpr float CHECK_INTERVAL = 2.0f;
    static constexpr float CHECK_DONE = -1000000.0f;

    // Refuses the scene file: the error names the file, the scene and the reason.
    [[noreturn]] void refuse(vessxml::Node* element, const String& reason) const;
    // An integer attribute; refused when missing or not an integer.
    int intAttribute(vessxml::Node* element, const String& attribute) const;
    // "rotation_step": refused when missing, not an integer, or 0.
    int rotationStep(vessxml::Node* sceneElement) const;
    // The children of that element name, in file order.
    static std::vector<vessxml::Node*> childrenNamed(vessxml::Node* element, const char* childName);
    // The chapter's image of that name; refused naming the scene when the chapter lacks it.
    nimboui::Image* pieceImage(vessxml::Node* element, const String& imageName) const;
    // Hands the piece to the chapter (which owns it and finds it by name) and attaches it to the
    // scene's root on every entry.
    void addPiece(nimboui::Object* piece);

    // Adds dt to the check timer; every 2 seconds tests the solution, and once it holds stops
    // checking for this visit and runs the success command.
    void checkPeriodically(float dt, const std::function<bool()>& solved);

    float checkTimer = 0.0f;
};
