#include "minigames/Match2Scene.h"

#include "nimboui/Image.h"
#include "vessot/System.h"
#include "vessxml/Xml.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// One digit each in the tiles' labels.
constexpr int MAX_CELLS_PER_SIDE = 10;

} // namespace

Match2Element::Match2Element(Match2Scene* scene, const String& name, nimboui::Image* image, float homeX, float homeY)
    : nimboui::ImageBox(name, morvec::Rectangle(homeX, homeY, image->getWidth(), image->getHeight())),
      target(homeX, homeY), scene(scene), home(homeX, homeY) {
    setImage(image);
}

bool Match2Element::OnMouseDown(float x, float y, int button) {
    nimboui::ImageBox::OnMouseDown(x, y, button);
    return true;
}

bool Match2Element::OnMouseUp(float x, float y, int button) {
    if (nimboui::ImageBox::OnMouseUp(x, y, button)) {
        return true;
    }
    if (!isPointInside(x, y)) {
        return false;
    }
    scene->onTileClicked(this);
    return true;
}

void Match2Element::update(float dt) {
    if (std::fabs(scale - targetScale) > 0.01f) {
        float left = targetScale - scale;
        float change = std::min(SCALE_SPEED * dt, std::fabs(left));
        scale += left > 0.0f ? change : -change;
        if (std::fabs(targetScale - scale) <= 0.01f) {
            scale = targetScale;
        }
    } else {
        morvec::Vector2 way = target - getPosition();
        float length = way.length();
        if (length >= 0.01f) {
            setPosition(getPosition() + way * (std::min(length, SLIDE_SPEED * dt) / length));
            if ((target - getPosition()).length() < 0.01f) {
                targetScale = 1.0f;
                setPosition(target);
            }
        }
    }
    nimboui::ImageBox::update(dt);
}

void Match2Element::OnDraw(const morvec::Vector2& offset) {
    uint8_t grey = (uint8_t)((1.0f - shade) * 255);
    // Grown about the tile's centre: the size scaled, the corner moved back by half the growth.
    morvec::Rectangle shown(rect.x + offset.x - rect.w * (scale - 1.0f) * 0.5f,
                            rect.y + offset.y - rect.h * (scale - 1.0f) * 0.5f, rect.w * scale, rect.h * scale);
    if (image) {
        image->draw(shown, nimbo::Color(grey, grey, grey, 255));
    }
}

bool Match2Element::isMoving() const {
    return std::fabs(target.x - rect.x) > 1.0f || std::fabs(target.y - rect.y) > 1.0f ||
           std::fabs(targetScale - scale) > 0.01f;
}

bool Match2Element::isHome() const {
    return std::fabs(rect.x - home.x) <= 1.0f && std::fabs(rect.y - home.y) <= 1.0f;
}

void Match2Element::place(float x, float y) {
    setPosition(x, y);
    target = morvec::Vector2(x, y);
    scale = 1.0f;
    targetScale = 1.0f;
}

void Match2Element::moveTo(const morvec::Vector2& point, float scaleTarget) {
    target = point;
    targetScale = scaleTarget;
}

Match2Scene::Match2Scene(Chapter* chapter, const String& name) : MinigameScene(chapter, name) {}

void Match2Scene::load(vessxml::Node* sceneElement) {
    MinigameScene::load(sceneElement);
    originX = sceneElement->pfloat("x");
    originY = sceneElement->pfloat("y");
    columns = intAttribute(sceneElement, "w");
    rows = intAttribute(sceneElement, "h");
    String imageBase = sceneElement->pstr("image_base");
    if (columns < 1 || rows < 1 || columns * rows < 2) {
        refuse(sceneElement, "a grid of " + String(columns) + " x " + String(rows) + " has fewer than 2 cells");
    }
    if (columns > MAX_CELLS_PER_SIDE || rows > MAX_CELLS_PER_SIDE) {
        refuse(sceneElement,
               "a grid of " + String(columns) + " x " + String(rows) + " has more than 10 columns or rows");
    }
    std::vector<nimboui::Image*> images;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            images.push_back(pieceImage(sceneElement, imageBase + "_" + String(r) + String(c)));
        }
    }
    float tileWidth = std::trunc(images[0]->getWidth());
    float tileHeight = std::trunc(images[0]->getHeight());
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            String label = String(r) + String(c);
            float x = std::trunc(originX + (float)c * (tileWidth + 1.0f));
            float y = std::trunc(originY + (float)r * (tileHeight + 1.0f));
            auto* tile = new Match2Element(this, "match2_" + imageBase + "_" + label, images[r * columns + c], x, y);
            addPiece(tile);
            tiles.push_back(tile);
        }
    }
}

std::vector<int> Match2Scene::shuffledCells() const {
    std::vector<int> cells(tiles.size());
    std::iota(cells.begin(), cells.end(), 0);
    int swaps = 30 + vessot::rand() % 30;
    for (int swap = 0; swap < swaps; ++swap) {
        int c = vessot::rand() % columns;
        int r = vessot::rand() % rows;
        int r2 = r;
        int c2 = c;
        for (bool found = false; !found;) {
            switch (vessot::rand() % 4) {
            case 0:
                found = r > 0;
                r2 = r - 1;
                break;
            case 1:
                found = c < columns - 1;
                c2 = c + 1;
                break;
            case 2:
                found = r < rows - 1;
                r2 = r + 1;
                break;
            default:
                found = c > 0;
                c2 = c - 1;
                break;
            }
            if (!found) {
                r2 = r;
                c2 = c;
            }
        }
        std::swap(cells[r * columns + c], cells[r2 * columns + c2]);
    }
    return cells;
}

void Match2Scene::onEnter() {
    checkTimer = 0.0f;
    std::vector<int> cells = shuffledCells();
    float cellWidth = std::trunc(tiles[0]->getImage()->getWidth() + 1.0f);
    float cellHeight = std::trunc(tiles[0]->getImage()->getHeight() + 1.0f);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            tiles[cells[r * columns + c]]->place(originX + (float)c * cellWidth, originY + (float)r * cellHeight);
        }
    }
}

void Match2Scene::onUpdate(float dt) {
    root->update(dt);
    checkPeriodically(dt, [this] {
        return std::all_of(tiles.begin(), tiles.end(), [](Match2Element* tile) { return tile->isHome(); });
    });
}

bool Match2Scene::onMouseUp(float x, float y, int button) {
    return root->OnMouseUp(x, y, button);
}

void Match2Scene::shadeAll(float value) {
    for (Match2Element* tile : tiles) {
        tile->shade = value;
    }
}

void Match2Scene::onTileClicked(Match2Element* tile) {
    if (std::any_of(tiles.begin(), tiles.end(), [](Match2Element* t) { return t->isMoving(); })) {
        return;
    }
    if (tile->shade < 0.01f) {
        if (std::any_of(tiles.begin(), tiles.end(),
                        [](Match2Element* t) { return t->shade > Match2Element::CANDIDATE; })) {
            shadeAll(Match2Element::PLAIN);
            return;
        }
        tile->shade = Match2Element::SELECTED;
        float cellWidth = std::trunc(tile->getWidth() + 1.0f);
        float cellHeight = std::trunc(tile->getHeight() + 1.0f);
        for (Match2Element* other : tiles) {
            float dx = std::fabs(other->getX() - tile->getX());
            float dy = std::fabs(other->getY() - tile->getY());
            bool beside = std::fabs(dx - cellWidth) <= 1.0f && dy <= 1.0f;
            bool aboveOrBelow = std::fabs(dy - cellHeight) <= 1.0f && dx <= 1.0f;
            if (beside || aboveOrBelow) {
                other->shade = Match2Element::CANDIDATE;
            }
        }
        return;
    }
    if (tile->shade < 0.4f) {
        auto selected = std::find_if(tiles.begin(), tiles.end(), [](Match2Element* t) { return t->shade > 0.4f; });
        if (selected != tiles.end()) {
            morvec::Vector2 from = (*selected)->getPosition();
            (*selected)->moveTo(tile->getPosition(), 1.1f);
            tile->moveTo(from, 0.9f);
            (*selected)->moveToFront();
        }
    }
    shadeAll(Match2Element::PLAIN);
}
