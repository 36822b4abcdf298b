#pragma once
// The match2 minigame: a picture cut into a grid of tiles, shuffled by random swaps of neighbouring
// cells. A selected tile lights up its four neighbours; clicking one swaps the two with a small
// grow-and-slide animation. Solved when every tile is back in its home cell.

#include "minigames/MinigameScene.h"

#include "nimboui/ImageBox.h"

class Match2Scene;

class Match2Element : public nimboui::ImageBox {
public:
    // Shades: a plain tile, a swap candidate, the selected tile.
    static constexpr float PLAIN = 0.0f;
    static constexpr float CANDIDATE = 0.2f;
    static constexpr float SELECTED = 0.5f;
    // Units per second of the slide; scale per second of the grow and shrink.
    static constexpr float SLIDE_SPEED = 300.0f;
    static constexpr float SCALE_SPEED = 0.5f;

    // At its home cell with the image's size.
    Match2Element(Match2Scene* scene, const String& name, nimboui::Image* image, float homeX, float homeY);

    // Takes every press.
    bool OnMouseDown(float x, float y, int button) override;
    // A release inside the tile is a click on it.
    bool OnMouseUp(float x, float y, int button) override;
    // Scales towards the target scale first, then slides towards the target, then settles at 1.0.
    void update(float dt) override;
    // Darkened by the shade, grown about its centre by the scale.
    void OnDraw(const morvec::Vector2& offset) override;

    // Still scaling, or more than a unit away from its target.
    bool isMoving() const;
    bool isHome() const;
    const morvec::Vector2& getHome() const { return home; }
    // Places the tile at once, at scale 1.0.
    void place(float x, float y);
    // Starts a swap move towards the point, grown or shrunk to the scale first.
    void moveTo(const morvec::Vector2& target, float scaleTarget);

    float shade = PLAIN;
    float scale = 1.0f;
    float targetScale = 1.0f;
    morvec::Vector2 target;

private:
    Match2Scene* scene;
    morvec::Vector2 home;
};

class Match2Scene : public MinigameScene {
public:
    Match2Scene(Chapter* chapter, const String& name);

    // Deals a new grid: 30 to 59 swaps of neighbouring cells from the solved picture.
    void onEnter() override;
    // Moves the tiles and checks the solution every 2 seconds.
    void onUpdate(float dt) override;
    bool onMouseUp(float x, float y, int button) override;
    // "x", "y" (the grid's corner), "w" and "h" (columns and rows) and "image_base"; a tile per cell
    // from the images image_base + "_" + row + column.
    void load(vessxml::Node* sceneElement) override;

    // Selects the tile, swaps it with the selected neighbour, or clears the selection; ignored while
    // a tile moves.
    void onTileClicked(Match2Element* tile);
    // Row by row.
    const std::vector<Match2Element*>& getTiles() const { return tiles; }

private:
    // Gives every tile the shade.
    void shadeAll(float value);
    // The cell labels of a fresh shuffle: for each cell in row order, the index of the tile dealt there.
    std::vector<int> shuffledCells() const;

    int columns = 0;
    int rows = 0;
    float originX = 0.0f;
    float originY = 0.0f;
    std::vector<Match2Element*> tiles;
};
