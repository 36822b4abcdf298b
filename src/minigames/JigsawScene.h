#pragma once
// The jigsaw minigame: picture pieces lie scattered and turned by multiples of 45 degrees. A piece is
// dragged with the pointer and turned by clicking it; dropped upright near its place it snaps there
// and stays. When the last piece has snapped the puzzle is solved.

#include "minigames/MinigameScene.h"

#include "nimboui/RotationImageBox.h"

class JigsawScene;

class JigsawElement : public nimboui::RotatableImageBox {
public:
    static constexpr float TURNING_SPEED = 360.0f;
    // A drop nearer its place than this snaps the piece.
    static constexpr float SNAP_DISTANCE = 30.0f;

    // At (0, 0) with the image's size, upright.
    JigsawElement(JigsawScene* scene, const String& name, nimboui::Image* image, int placeX, int placeY);

    // No piece is taken while it is placed or still turning.
    bool isPointInside(float x, float y) override;
    // Shaded while the pointer rests over a loose piece.
    void OnDraw(const morvec::Vector2& offset) override;

    // On a drop: an upright piece near its place moves onto it, stays there and goes to the back.
    void trySnap();
    bool isPlaced() const { return placed; }
    void setPlaced(bool value) { placed = value; }
    morvec::Vector2 getPlace() const { return morvec::Vector2((float)placeX, (float)placeY); }

private:
    JigsawScene* scene;
    int placeX;
    int placeY;
    bool placed = false;
};

class JigsawScene : public MinigameScene {
public:
    // A release after the pointer moved less than this from the press is a click.
    static constexpr float CLICK_DISTANCE = 2.0f;
    static constexpr float TURN_DEGREES = 45.0f;

    JigsawScene(Chapter* chapter, const String& name);

    // Scatters the pieces over the screen, each turned by a random multiple of 45 degrees.
    void onEnter() override;
    // The held piece follows the pointer.
    void onUpdate(float dt) override;
    // Takes the front-most piece under the point, if any.
    bool onMouseDown(float x, float y, int button) override;
    // Turns the held piece (a click) or drops it (a drag).
    bool onMouseUp(float x, float y, int button) override;
    // The "JigsawElement" children.
    void load(vessxml::Node* sceneElement) override;
    bool turnsBothWays() const override { return true; }

    // The pointer at the scene point that the mouse handlers receive.
    static morvec::Vector2 cursor();
    const std::vector<JigsawElement*>& getPieces() const { return pieces; }
    JigsawElement* getHeldPiece() const { return held; }

private:
    std::vector<JigsawElement*> pieces;
    JigsawElement* held = nullptr;
    morvec::Vector2 pressPoint;
    morvec::Vector2 heldStart;
    float largestDistance = 0.0f;
};
