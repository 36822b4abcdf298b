#pragma once
// The sequence minigame: objects of the scene that must be clicked in one fixed order. On entry
// every object lights up for a second; a wrong click starts the scene over, and the click that
// completes the order solves it.

#include "minigames/MinigameScene.h"

namespace nimboui {
struct EventArgs;
}

class SequenceScene : public MinigameScene {
public:
    SequenceScene(Chapter* chapter, const String& name);

    // Lights every object up for a second (its alternate image: an image button's pushed image) and
    // waits for the first name of the order. The objects are found on the first entry.
    void onEnter() override;
    // Puts the objects' images back: the scene may be left while they are lit.
    void onLeave() override;
    // Ends the preview after its second.
    void onUpdate(float dt) override;
    bool onMouseDown(float x, float y, int button) override;
    bool onMouseUp(float x, float y, int button) override;
    // "sequence" (names joined by ",") and the names of the "Object" children.
    void load(vessxml::Node* sceneElement) override;

    // The "Click" handler of every object: checks the clicked name on the active scene, when that
    // is a sequence scene.
    static void onObjectClick(nimboui::EventArgs* args);
    // A right name advances the order (the last one solves it), a wrong one starts the scene over;
    // both play the scene's sound.
    void check(const String& clickedName);

    int getIndex() const { return index; }
    bool isPreviewing() const { return previewTime > 0.0f; }

private:
    static constexpr float PREVIEW_TIME = 1.0f;

    void restoreImages();

    std::vector<String> objectNames;
    std::vector<String> sequence;
    std::vector<nimboui::Object*> objects;
    std::vector<nimboui::Image*> savedImages;
    int index = 0;
    float previewTime = 0.0f;
};
