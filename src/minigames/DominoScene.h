#pragma once
// The domino minigame: tiles that turn by a fixed step when clicked and drag linked tiles along by
// their own amounts. The tiles start solved and are scrambled by random legal moves, so every game
// can be solved; it is solved when every tile shows its target angle again.

#include "minigames/MinigameScene.h"

#include "nimboui/RotationImageBox.h"

class DominoScene;

class DominoElement : public nimboui::RotatableImageBox {
public:
    static constexpr float TURNING_SPEED = 360.0f;

    // A tile that turns along: degrees per step of the tile that holds the link.
    struct Link {
        DominoElement* tile;
        int degrees;
    };

    DominoElement(DominoScene* scene, const String& name, const morvec::Rectangle& rect, float targetAngle, float step);

    // Shows the target angle again, without a turn.
    void reset() override;
    // A click inside the tile turns it (code 0 one way, any other code the other way), unless it or
    // a linked tile still turns; answers whether the click was taken.
    bool OnMouseUp(float x, float y, int button) override;

    // Sets the destination to (the destination, or the shown angle) + delta; with propagate, every
    // linked tile turns by its degrees times the whole steps of delta (truncated toward zero).
    void rotate(bool fromDestination, bool propagate, float delta);
    float getTargetAngle() const { return targetAngle; }
    bool isSolved() const { return angleEquals(getAngle(), targetAngle); }

    std::vector<Link> links;

private:
    DominoScene* scene;
    float targetAngle;
    float step;
};

class DominoScene : public MinigameScene {
public:
    DominoScene(Chapter* chapter, const String& name);

    // A fresh game: the tiles solved, then 2n to 4n - 1 random moves of the n tiles; input waits a second.
    void onEnter() override;
    // Counts the blocking time down; then turns the tiles and checks the solution every 2 seconds.
    void onUpdate(float dt) override;
    bool onMouseDown(float x, float y, int button) override;
    bool onMouseUp(float x, float y, int button) override;
    // "rotation_step" and the "DominoElement" children with their "Rotate" links.
    void load(vessxml::Node* sceneElement) override;
    bool turnsBothWays() const override { return true; }

    const std::vector<DominoElement*>& getTiles() const { return tiles; }

private:
    static constexpr float BLOCK_TIME = 1.0f;

    int rotationStepDegrees = 0;
    std::vector<DominoElement*> tiles;
    float blockTime = 0.0f;
};
