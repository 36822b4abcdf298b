#include "minigames/JigsawScene.h"

#include "engine/app/Engine.h"
#include "engine/view/Viewport.h"

#include "nimboui/Image.h"
#include "vessot/System.h"
#include "vessxml/Xml.h"

#include <algorithm>

JigsawElement::JigsawElement(JigsawScene* scene, const String& name, nimboui::Image* image, int placeX, int placeY)
    : nimboui::RotatableImageBox(name, morvec::Rectangle(0, 0, image->getWidth(), image->getHeight())), scene(scene),
      placeX(placeX), placeY(placeY) {
    setImage(image);
    setSpeed(TURNING_SPEED);
}

bool JigsawElement::isPointInside(float x, float y) {
    return !placed && !isRotating() && nimboui::RotatableImageBox::isPointInside(x, y);
}

void JigsawElement::OnDraw(const morvec::Vector2& offset) {
    morvec::Vector2 pointer = JigsawScene::cursor();
    float shade = !placed && rect.isPointInside(pointer) ? 0.7f : 1.0f;
    uint8_t grey = (uint8_t)(shade * 255);
    if (image) {
        image->draw(rect.offset(offset), nimbo::Color(grey, grey, grey, 255), getAngle());
    }
}

void JigsawElement::trySnap() {
    if (!angleEquals(getAngle(), 0.0f) || (getPosition() - getPlace()).length() >= SNAP_DISTANCE) {
        return;
    }
    setPosition(getPlace());
    placed = true;
    scene->playSound("inplace_sound");
    moveToBack();
}

JigsawScene::JigsawScene(Chapter* chapter, const String& name) : MinigameScene(chapter, name) {}

morvec::Vector2 JigsawScene::cursor() {
    return morvec::Vector2(sceneCursor.x + cameraOffsetX, sceneCursor.y);
}

void JigsawScene::load(vessxml::Node* sceneElement) {
    MinigameScene::load(sceneElement);
    struct PieceSpec {
        String name;
        nimboui::Image* image;
        int x, y;
    };
    std::vector<PieceSpec> specs;
    for (vessxml::Node* element : childrenNamed(sceneElement, "JigsawElement")) {
        PieceSpec spec{element->pstr("name"), pieceImage(element, element->pstr("image")), intAttribute(element, "x"),
                       intAttribute(element, "y")};
        // The scatter draws positions over the room the piece leaves on the screen.
        if (spec.image->getWidth() >= (float)screenWidth || spec.image->getHeight() >= (float)screenHeight) {
            refuse(element, "piece '" + spec.name + "' is " + String(spec.image->getWidth()) + " x " +
                                String(spec.image->getHeight()) + ", not smaller than the screen");
        }
        specs.push_back(spec);
    }
    if (specs.empty()) {
        refuse(sceneElement, "no 'JigsawElement' pieces");
    }
    for (const PieceSpec& spec : specs) {
        auto* piece = new JigsawElement(this, spec.name, spec.image, spec.x, spec.y);
        addPiece(piece);
        pieces.push_back(piece);
    }
}

void JigsawScene::onEnter() {
    held = nullptr;
    for (JigsawElement* piece : pieces) {
        int x = vessot::rand() % (screenWidth - (int)piece->getWidth());
        int y = vessot::rand() % (screenHeight - (int)piece->getHeight());
        piece->setPosition((float)x, (float)y);
        piece->setPlaced(false);
        piece->setAngle((float)(vessot::rand() % 8) * TURN_DEGREES);
    }
}

void JigsawScene::onUpdate(float dt) {
    root->update(dt);
    if (!held) {
        return;
    }
    morvec::Vector2 moved = cursor() - pressPoint;
    largestDistance = std::max(largestDistance, moved.length());
    held->setPosition(heldStart + moved);
}

bool JigsawScene::onMouseDown(float x, float y, int) {
    for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) {
        if ((*it)->isPointInside(x, y)) {
            held = *it;
            held->moveToFront();
            heldStart = held->getPosition();
            pressPoint = morvec::Vector2(x, y);
            largestDistance = 0.0f;
            break;
        }
    }
    return true;
}

bool JigsawScene::onMouseUp(float, float, int button) {
    if (!held) {
        return true;
    }
    JigsawElement* piece = held;
    held = nullptr;
    if (largestDistance < CLICK_DISTANCE) {
        piece->setDestAngle(piece->getDestAngle() + (button == 0 ? TURN_DEGREES : -TURN_DEGREES));
        playSound("rotate_sound");
        return true;
    }
    piece->trySnap();
    if (std::all_of(pieces.begin(), pieces.end(), [](JigsawElement* p) { return p->isPlaced(); })) {
        succeed();
    }
    return true;
}
