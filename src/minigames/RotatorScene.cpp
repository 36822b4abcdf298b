#include "minigames/RotatorScene.h"

#include "nimboui/Image.h"
#include "vessot/System.h"
#include "vessxml/Xml.h"

#include <algorithm>

RotatorRing::RotatorRing(const String& name, const morvec::Rectangle& rect, float bandWidth, float step)
    : nimboui::RotatableImageBox(name, rect), bandWidth(bandWidth), step(step) {}

bool RotatorRing::isPointInside(float x, float y) {
    if (!nimboui::RotatableImageBox::isPointInside(x, y)) {
        return false;
    }
    float distance = (morvec::Vector2(x, y) - rect.getCenter()).length();
    float outer = (rect.w + rect.h) * 0.25f;
    return outer - bandWidth <= distance && distance <= outer;
}

bool RotatorRing::OnMouseUp(float x, float y, int button) {
    if (isRotating()) {
        return false;
    }
    if (nimboui::RotatableImageBox::OnMouseUp(x, y, button)) {
        return true;
    }
    if (!isPointInside(x, y)) {
        return false;
    }
    setDestAngle(getDestAngle() + (button == 0 ? step : -step));
    return true;
}

RotatorScene::RotatorScene(Chapter* chapter, const String& name) : MinigameScene(chapter, name) {}

void RotatorScene::load(vessxml::Node* sceneElement) {
    MinigameScene::load(sceneElement);
    rotationStepDegrees = rotationStep(sceneElement);
    struct RingSpec {
        String name;
        nimboui::Image* image;
        float bandWidth;
        int x, y;
    };
    std::vector<RingSpec> specs;
    for (vessxml::Node* element : childrenNamed(sceneElement, "Ring")) {
        specs.push_back({element->pstr("name"), pieceImage(element, element->pstr("image")),
                         element->pfloat("ring_width"), intAttribute(element, "x"), intAttribute(element, "y")});
    }
    if (specs.empty()) {
        refuse(sceneElement, "no 'Ring' rings");
    }
    for (const RingSpec& spec : specs) {
        morvec::Rectangle rect((float)spec.x, (float)spec.y, spec.image->getWidth(), spec.image->getHeight());
        auto* ring = new RotatorRing(spec.name, rect, spec.bandWidth, (float)rotationStepDegrees);
        ring->setImage(spec.image);
        addPiece(ring);
        rings.push_back(ring);
    }
}

void RotatorScene::onEnter() {
    for (RotatorRing* ring : rings) {
        ring->setAngle(0.0f);
        ring->setDestAngle((float)(vessot::rand() % 10 - 5) * (float)rotationStepDegrees);
    }
    blockTime = BLOCK_TIME;
    solved = false;
}

void RotatorScene::onUpdate(float dt) {
    if (blockTime <= 0.0f) {
        root->update(dt);
    }
    blockTime -= dt;
    // A ring still turning towards its scrambled angle may pass upright on the way: only rings at
    // rest count.
    bool upright = std::all_of(rings.begin(), rings.end(), [](RotatorRing* ring) {
        return !ring->isRotating() && nimboui::RotatableImageBox::angleEquals(ring->getAngle(), 0.0f);
    });
    if (!solved && upright) {
        solved = true;
        succeed();
    }
}

bool RotatorScene::onMouseUp(float x, float y, int button) {
    return blockTime <= 0.0f && root->OnMouseUp(x, y, button);
}
