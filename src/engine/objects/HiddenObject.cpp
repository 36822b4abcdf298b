#include "engine/objects/HiddenObject.h"

#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/Inventory.h"

HiddenObject::HiddenObject(const vessot::String& name, const morvec::Rectangle& rect)
    : nimboui::ImageBox(name, rect), mItem(name) {}

bool HiddenObject::OnMouseUp(float x, float y, int button) {
    if (nimboui::Object::OnMouseUp(x, y, button)) {
        return true;
    }
    if (!isPointInside(x, y)) {
        return false;
    }
    if (getName().startsWith("__")) {
        return true;
    }
    Variable* available = Vars::get("ho_" + getName());
    if (available->getValue().toInt() == 0) {
        return true;
    }
    available->setValue("0");
    Inventory::addItem(mItem);
    Session::queueCommand("reset_scene");
    return true;
}

bool HiddenObject::setProperty(const vessot::String& name, const vessot::String& value) {
    nimboui::ImageBox::setProperty(name, value);
    if (name == "item") {
        mItem = value;
    }
    return true;
}
