#pragma once
// The rotator minigame: concentric rings of a picture, each turned away from upright; a click on a
// ring's band turns that ring by a fixed step. Solved when every ring stands upright again.

#include "minigames/MinigameScene.h"

#include "nimboui/RotationImageBox.h"

class RotatorRing : public nimboui::RotatableImageBox {
public:
    RotatorRing(const String& name, const morvec::Rectangle& rect, float bandWidth, float step);

    // Only the ring's band: the hole in its middle lets a click through to the ring below.
    bool isPointInside(float x, float y) override;
    // A click on the band turns the ring by the step (code 0 one way, any other code the other
    // way); a ring that still turns does not take the click.
    bool OnMouseUp(float x, float y, int button) override;

private:
    float bandWidth;
    float step;
};

class RotatorScene : public MinigameScene {
public:
    RotatorScene(Chapter* chapter, const String& name);

    // Every ring upright, then turning towards a random whole number of steps from -5 to 4; input
    // waits a second.
    void onEnter() override;
    // Turns the rings once the blocking time is over, and checks the solution every frame.
    void onUpdate(float dt) override;
    bool onMouseUp(float x, float y, int button) override;
    // "rotation_step" and the "Ring" children.
    void load(vessxml::Node* sceneElement) override;
    bool turnsBothWays() const override { return true; }

    const std::vector<RotatorRing*>& getRings() const { return rings; }
    bool isSolved() const { return solved; }

private:
    static constexpr float BLOCK_TIME = 1.0f;

    int rotationStepDegrees = 0;
    std::vector<RotatorRing*> rings;
    float blockTime = 0.0f;
    bool solved = false;
};
