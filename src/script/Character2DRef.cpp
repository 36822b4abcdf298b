#include "script/Character2DRef.h"

#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/Character2D.h"
#include "script/Characters.h"

#include "nimboui/Dataset.h"
#include "nimboui/Exception.h"
#include "nimboui/Image.h"

#include <algorithm>

Character2DRef::Character2DRef(const String& name, const morvec::Rectangle& rect)
    : nimboui::Object("Character2DRef", name, rect) {}

bool Character2DRef::setProperty(const String& name, const String& value) {
    if (name.startsWith("position_if")) {
        String condition;
        String rest;
        name.split(":", rest, condition);
        addPlacement(condition, value);
    } else if (name == "position") {
        addPlacement("", value);
    } else if (name == "direction") {
        direction = value;
    } else if (name == "height") {
        height = value.toFloat();
    } else if (name == "speed") {
        speed = value.toFloat();
    } else if (name == "walk_ani_factor") {
        walk_ani_factor = value.toFloat();
    } else if (name == "chr") {
        chr = value;
    } else {
        nimboui::Object::setProperty(name, value);
    }
    return true;
}

void Character2DRef::addPlacement(const String& condition, const String& value) {
    vessot::Array<String> parts = value.split(",");
    if (parts.size() < 3) {
        throw nimboui::_GenericException("character reference '" + getName() + "': the position '" + value +
                                             "' needs x, y and a direction",
                                         "GenericException", __FILE__, __LINE__);
    }
    placements.push_back({condition, morvec::Vector3(parts[0].toFloat(), parts[1].toFloat(), 0.0f), parts[2]});
}

Character2D* Character2DRef::getCharacter() {
    nimboui::Object* object = getDataset()->getObject("characters." + chr);
    auto* character = dynamic_cast<Character2D*>(object);
    if (!character) {
        throw nimboui::_GenericException("character reference '" + getName() + "': 'characters." + chr +
                                             "' is not a character",
                                         "GenericException", __FILE__, __LINE__);
    }
    return character;
}

void Character2DRef::notifyEvent(const String& event, void* params) {
    if (event == "AttachToObject") {
        attach();
    }
    nimboui::Object::notifyEvent(event, params);
}

void Character2DRef::attach() {
    Character2D* character = getCharacter();
    character->setSpeed(speed);
    character->walkAnimationFactor = walk_ani_factor;
    String scene = Vars::value("active_scene");
    if (getX() != 0.0f || getY() != 0.0f) {
        character->placeAt(direction, getX(), getY());
    } else {
        // A character already attached in this scene keeps its place unless a condition moves it.
        bool again = character->getLastAttachScene() == scene;
        for (const CharacterPlacement& placement : placements) {
            bool unconditional = placement.condition.empty() || placement.condition == "1";
            if (!Session::checkCondition(placement.condition) || (unconditional && again)) {
                continue;
            }
            character->placeAt(placement.direction, placement.position.x, placement.position.y);
            break;
        }
    }
    Characters::getOrCreateVariable(chr + "_scene")->setValue(scene);
    character->setLastAttachScene(scene);
}

void Character2DRef::update(float dt) {
    Character2D* character = getCharacter();
    setPosition(character->getX(), character->getY());
    nimboui::Object::update(dt);
}

float Character2DRef::getHeight() {
    if (chr == "dummy") {
        return 64.0f;
    }
    float own = height > 0.0f ? height : getCharacter()->getHeight();
    float depth = Session::activeScene ? Session::activeScene->getDepthScale(getY()) : 0.0f;
    return own - depth;
}

bool Character2DRef::placeFrame(morvec::Rectangle& dest, nimbo::Color& tint) {
    nimboui::Object* parent = getParent();
    morvec::Vector2 offset = parent ? parent->getPosition() : morvec::Vector2();
    return getCharacter()->placeFrame(offset, getHeight(), dest, tint);
}

void Character2DRef::OnDraw(const morvec::Vector2&) {
    morvec::Rectangle dest;
    nimbo::Color tint;
    if (placeFrame(dest, tint)) {
        getCharacter()->getImage()->draw(dest, tint);
    }
}

namespace {

struct DepthEntry {
    nimboui::Object* object;
    float key;
};

} // namespace

void Character2D::sortSceneObjects() {
    if (!Session::activeScene || !Session::activeScene->root) {
        return;
    }
    nimboui::Object* root = Session::activeScene->root;
    const std::vector<nimboui::Object*>& children = root->getChildren();
    std::vector<size_t> slots;
    std::vector<DepthEntry> entries;
    for (size_t i = 0; i < children.size(); ++i) {
        nimboui::Object* child = children[i];
        const String& name = child->getName();
        auto* reference = dynamic_cast<Character2DRef*>(child);
        if (reference && !name.contains("ignore_zorder")) {
            entries.push_back({child, reference->getCharacter()->getY()});
        } else if (name.startsWith("zorder")) {
            vessot::Array<String> parts = name.split(",");
            entries.push_back({child, (parts.size() > 1 ? parts[1].toFloat() : 0.0f) + child->getY()});
        } else {
            continue;
        }
        slots.push_back(i);
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const DepthEntry& a, const DepthEntry& b) { return a.key < b.key; });
    bool moved = false;
    for (size_t k = 0; k < slots.size(); ++k) {
        moved = moved || children[slots[k]] != entries[k].object;
    }
    if (!moved) {
        return;
    }
    std::vector<nimboui::Object*> order = children;
    for (size_t k = 0; k < slots.size(); ++k) {
        order[slots[k]] = entries[k].object;
    }
    root->reorderChildren(order);
}
