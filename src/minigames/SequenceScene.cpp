#include "minigames/SequenceScene.h"

#include "engine/scene/Chapter.h"
#include "engine/session/Session.h"

#include "nimboui/ImageButton.h"
#include "vessxml/Xml.h"

SequenceScene::SequenceScene(Chapter* chapter, const String& name) : MinigameScene(chapter, name) {}

void SequenceScene::load(vessxml::Node* sceneElement) {
    MinigameScene::load(sceneElement);
    String order = sceneElement->pstr("sequence", "");
    if (order.empty()) {
        refuse(sceneElement, "an empty 'sequence'");
    }
    for (vessxml::Node* element : childrenNamed(sceneElement, "Object")) {
        objectNames.push_back(element->pstr("name"));
    }
    if (objectNames.empty()) {
        refuse(sceneElement, "no 'Object' children to click");
    }
    for (const String& entry : order.split(",")) {
        sequence.push_back(entry);
    }
}

void SequenceScene::onEnter() {
    previewTime = PREVIEW_TIME;
    index = 0;
    if (objects.empty()) {
        std::vector<nimboui::Object*> found;
        for (const String& objectName : objectNames) {
            found.push_back(chapter->getObject(objectName));
        }
        for (nimboui::Object* object : found) {
            object->registerEvent("Click", onObjectClick);
        }
        objects = found;
    }
    savedImages.clear();
    for (nimboui::Object* object : objects) {
        savedImages.push_back(object->getImage());
        auto* button = dynamic_cast<nimboui::ImageButton*>(object);
        if (button && button->getPushedImage()) {
            object->setImage(button->getPushedImage());
        }
    }
}

void SequenceScene::restoreImages() {
    for (size_t i = 0; i < objects.size(); ++i) {
        objects[i]->setImage(savedImages[i]);
    }
    previewTime = -1.0f;
}

void SequenceScene::onLeave() {
    // Left while lit, the objects would otherwise keep their lit images into the next entry.
    restoreImages();
}

void SequenceScene::onUpdate(float dt) {
    root->update(dt);
    if (previewTime > 0.0f && previewTime - dt <= 0.0f) {
        restoreImages();
    } else {
        previewTime -= dt;
    }
}

bool SequenceScene::onMouseDown(float x, float y, int button) {
    return previewTime <= 0.0f && root->OnMouseDown(x, y, button);
}

bool SequenceScene::onMouseUp(float x, float y, int button) {
    return previewTime <= 0.0f && root->OnMouseUp(x, y, button);
}

void SequenceScene::onObjectClick(nimboui::EventArgs* args) {
    if (auto* scene = dynamic_cast<SequenceScene*>(Session::activeScene)) {
        scene->check(args->object->getName());
    }
}

void SequenceScene::check(const String& clickedName) {
    if (index == (int)sequence.size()) {
        return;
    }
    // The sound first: the success command may leave the chapter that holds it.
    playSound("sound");
    if (clickedName != sequence[index]) {
        reset();
        return;
    }
    ++index;
    if (index == (int)sequence.size()) {
        succeed();
    }
}
