#include "minigames/DominoScene.h"

#include "nimboui/Image.h"
#include "vessot/System.h"
#include "vessxml/Xml.h"

#include <algorithm>
#include <cmath>
#include <map>

DominoElement::DominoElement(DominoScene* scene, const String& name, const morvec::Rectangle& rect, float targetAngle,
                             float step)
    : nimboui::RotatableImageBox(name, rect), scene(scene), targetAngle(targetAngle), step(step) {
    setAngle(targetAngle);
    setSpeed(TURNING_SPEED);
}

void DominoElement::reset() {
    setAngle(targetAngle);
    nimboui::RotatableImageBox::reset();
}

void DominoElement::rotate(bool fromDestination, bool propagate, float delta) {
    setDestAngle((fromDestination ? getDestAngle() : getAngle()) + delta);
    if (!propagate) {
        return;
    }
    float steps = std::trunc(delta / step);
    for (const Link& link : links) {
        link.tile->rotate(fromDestination, false, (float)link.degrees * steps);
    }
}

bool DominoElement::OnMouseUp(float x, float y, int button) {
    if (nimboui::RotatableImageBox::OnMouseUp(x, y, button)) {
        return true;
    }
    if (!isPointInside(x, y)) {
        return false;
    }
    bool turning = isRotating() ||
                   std::any_of(links.begin(), links.end(), [](const Link& link) { return link.tile->isRotating(); });
    if (turning) {
        return true;
    }
    rotate(false, true, button == 0 ? step : -step);
    scene->playSound("sound");
    return true;
}

DominoScene::DominoScene(Chapter* chapter, const String& name) : MinigameScene(chapter, name) {}

void DominoScene::load(vessxml::Node* sceneElement) {
    MinigameScene::load(sceneElement);
    rotationStepDegrees = rotationStep(sceneElement);
    struct TileSpec {
        String name;
        nimboui::Image* image;
        int angle, x, y;
        std::vector<std::pair<String, int>> links;
    };
    std::vector<TileSpec> specs;
    for (vessxml::Node* element : childrenNamed(sceneElement, "DominoElement")) {
        TileSpec spec{element->pstr("name"),          pieceImage(element, element->pstr("image")),
                      intAttribute(element, "angle"), intAttribute(element, "x"),
                      intAttribute(element, "y"),     {}};
        for (vessxml::Node* rotate : childrenNamed(element, "Rotate")) {
            spec.links.emplace_back(rotate->pstr("name"), intAttribute(rotate, "angle"));
        }
        specs.push_back(spec);
    }
    if (specs.empty()) {
        refuse(sceneElement, "no 'DominoElement' tiles");
    }
    for (const TileSpec& spec : specs) {
        for (const auto& link : spec.links) {
            const String& linked = link.first;
            bool known = std::any_of(specs.begin(), specs.end(), [&](const TileSpec& s) { return s.name == linked; });
            if (!known) {
                refuse(sceneElement, "tile '" + spec.name + "' turns '" + linked + "', which is no tile of the scene");
            }
        }
    }

    // A name given twice finds the later tile, as the chapter's lookup would.
    std::map<String, DominoElement*> byName;
    for (const TileSpec& spec : specs) {
        morvec::Rectangle rect((float)spec.x, (float)spec.y, spec.image->getWidth(), spec.image->getHeight());
        auto* tile = new DominoElement(this, spec.name, rect, (float)spec.angle, (float)rotationStepDegrees);
        tile->setImage(spec.image);
        addPiece(tile);
        tiles.push_back(tile);
        byName[spec.name] = tile;
    }
    for (size_t i = 0; i < specs.size(); ++i) {
        for (const auto& [linked, degrees] : specs[i].links) {
            tiles[i]->links.push_back({byName[linked], degrees});
        }
    }
}

void DominoScene::onEnter() {
    blockTime = BLOCK_TIME;
    checkTimer = 0.0f;
    for (DominoElement* tile : tiles) {
        tile->reset();
        tile->moveToFront();
    }
    int n = (int)tiles.size();
    int moves = 2 * n + vessot::rand() % (2 * n);
    for (int move = 0; move < moves; ++move) {
        tiles[vessot::rand() % n]->rotate(true, true, (float)rotationStepDegrees);
    }
}

void DominoScene::onUpdate(float dt) {
    if (blockTime > 0.0f) {
        blockTime -= dt;
        return;
    }
    root->update(dt);
    checkPeriodically(dt, [this] {
        return std::all_of(tiles.begin(), tiles.end(), [](DominoElement* tile) { return tile->isSolved(); });
    });
}

bool DominoScene::onMouseDown(float x, float y, int button) {
    return blockTime <= 0.0f && root->OnMouseDown(x, y, button);
}

bool DominoScene::onMouseUp(float x, float y, int button) {
    return blockTime <= 0.0f && root->OnMouseUp(x, y, button);
}
