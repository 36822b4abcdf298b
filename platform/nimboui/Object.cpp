#include "nimboui/Object.h"

#include "nimboui/Exception.h"

#include <algorithm>

namespace nimboui {

namespace {

// Handles: a slot per live object whose generation changes when the object goes, so a handle
// taken earlier tells whether its object still exists without touching it.
struct HandleTable {
    std::vector<uint32_t> generations;
    std::vector<uint32_t> freeSlots;
};

HandleTable& handleTable() {
    static HandleTable table;
    return table;
}

// The pointer state shared by every tree: the object a press began on (released once any tree
// saw the release), the objects the pointer rests on (one per tree), and the child lists being
// walked by dispatches in progress.
struct Pointer {
    Object::Handle pressed;
    bool released = true;
    bool clickFired = false;
    std::vector<Object::Handle> hovered;
    std::vector<Object::Handle> walk;
    int depth = 0;
};

Pointer& pointer() {
    static Pointer state;
    return state;
}

// Counts the nesting of dispatch calls, so that the outermost one knows it is.
class DispatchScope {
public:
    DispatchScope() : outer(pointer().depth == 0) { ++pointer().depth; }
    ~DispatchScope() { --pointer().depth; }
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;
    bool outermost() const { return outer; }

private:
    bool outer;
};

} // namespace

bool Object::Handle::alive() const {
    const HandleTable& table = handleTable();
    return object && slot < table.generations.size() && table.generations[slot] == generation;
}

Object::Object(const String& typeName, const String& name, const morvec::Rectangle& rect)
    : typeName(typeName), name(name), rect(rect) {
    HandleTable& table = handleTable();
    if (table.freeSlots.empty()) {
        handleSlot = (uint32_t)table.generations.size();
        table.generations.push_back(0);
    } else {
        handleSlot = table.freeSlots.back();
        table.freeSlots.pop_back();
    }
    handleGeneration = table.generations[handleSlot];
}

Object::~Object() {
    if (parent) {
        std::erase(parent->children, this);
    }
    for (Object* child : children) {
        child->parent = nullptr;
    }
    HandleTable& table = handleTable();
    ++table.generations[handleSlot];
    table.freeSlots.push_back(handleSlot);
}

// Walks a copy of the child list; an object destroyed or detached meanwhile is skipped, and once
// this object itself is gone nothing more is visited. Answers whether a visit answered true.
template <class Visit> bool Object::forEachChildSafely(bool frontFirst, Visit visit) {
    std::vector<Handle>& walk = pointer().walk;
    const size_t base = walk.size();
    for (Object* child : children) {
        walk.push_back(child->handle());
    }
    const size_t count = walk.size() - base;
    struct Restore {
        std::vector<Handle>& walk;
        size_t base;
        ~Restore() { walk.resize(base); }
    } restore{walk, base};
    const Handle self = handle();
    for (size_t k = 0; k < count; ++k) {
        const Handle child = walk[frontFirst ? base + count - 1 - k : base + k];
        if (!self.alive()) {
            return false;
        }
        if (!child.alive() || child.object->parent != this) {
            continue;
        }
        if (visit(child.object)) {
            return true;
        }
    }
    return false;
}

void Object::notifyEvent(const String& event, void* params) {
    forEachChildSafely(false, [&](Object* child) {
        child->notifyEvent(event, params);
        return false;
    });
}

void Object::reset() {
    forEachChildSafely(false, [](Object* child) {
        child->reset();
        return false;
    });
}

bool Object::isPointInside(float x, float y) {
    return rect.isPointInside(x, y);
}
bool Object::isPointInside(const morvec::Vector2& point) {
    return isPointInside(point.x, point.y);
}

bool Object::isInteractive() const {
    return blockInput || hasEvent("Click") || hasEvent("MouseDown");
}

bool Object::takesPointer(float x, float y) {
    return visible && isInteractive() && getDerivedAlpha() > 0.0f && isPointInside(x, y);
}

bool Object::OnMouseDown(float x, float y, int button) {
    DispatchScope scope;
    if (scope.outermost()) {
        pointer().pressed = Handle();
        pointer().released = true;
    }
    if (!visible || getDerivedAlpha() <= 0.0f) {
        return false;
    }
    const Handle self = handle();
    const float lx = x - rect.x;
    const float ly = y - rect.y;
    if (forEachChildSafely(true, [&](Object* child) { return child->OnMouseDown(lx, ly, button); }) || !self.alive()) {
        return true;
    }
    if (!takesPointer(x, y)) {
        return false;
    }
    if (!disabled) {
        pointer().pressed = self;
        pointer().released = false;
        onMouseDown(x, y, button);
        if (self.alive()) {
            triggerEvent("MouseDown", x, y, "");
        }
    }
    return true;
}

bool Object::OnMouseUp(float x, float y, int button) {
    DispatchScope scope;
    if (!scope.outermost()) {
        return routeMouseUp(x, y, button);
    }
    // The release ends the press in this tree; a press in another tree still waits for that
    // tree's release, but shows as released from now on.
    Pointer& state = pointer();
    state.clickFired = false;
    const bool pressedHere = state.pressed.alive() && contains(state.pressed.object);
    const bool consumed = routeMouseUp(x, y, button);
    if (pressedHere || !state.pressed.alive()) {
        state.pressed = Handle();
    }
    state.released = true;
    return consumed || pressedHere;
}

// The release fires Click once, on the deepest interactive object under the point that is, or
// holds, the pressed object. Descendants go first; once one fired, nothing else is touched.
bool Object::routeMouseUp(float x, float y, int button) {
    if (!visible || getDerivedAlpha() <= 0.0f) {
        return false;
    }
    const Handle self = handle();
    const float lx = x - rect.x;
    const float ly = y - rect.y;
    bool consumed = forEachChildSafely(true, [&](Object* child) { return child->OnMouseUp(lx, ly, button); });
    if (pointer().clickFired || !self.alive()) {
        return true;
    }
    if (!takesPointer(x, y)) {
        return consumed;
    }
    if (!disabled) {
        onMouseUp(x, y, button);
        const Handle pressed = pointer().pressed;
        if (self.alive() && pressed.alive() && contains(pressed.object)) {
            pointer().clickFired = true;
            triggerEvent("Click", x, y, "");
        }
    }
    return true;
}

bool Object::OnMouseMove(float x, float y) {
    DispatchScope scope;
    if (scope.outermost()) {
        forgetHovered();
    }
    if (!visible || getDerivedAlpha() <= 0.0f) {
        return false;
    }
    const Handle self = handle();
    const float lx = x - rect.x;
    const float ly = y - rect.y;
    if (forEachChildSafely(true, [&](Object* child) { return child->OnMouseMove(lx, ly); }) || !self.alive()) {
        return true;
    }
    if (!takesPointer(x, y)) {
        return false;
    }
    if (!disabled) {
        pointer().hovered.push_back(self);
        onMouseMove(x, y);
    }
    return true;
}

void Object::forgetHovered() const {
    std::erase_if(pointer().hovered, [this](const Handle& h) { return !h.alive() || contains(h.object); });
}

bool Object::OnKeyDown(int key) {
    if (!visible) {
        return false;
    }
    const Handle self = handle();
    if (forEachChildSafely(true, [&](Object* child) { return child->OnKeyDown(key); }) || !self.alive()) {
        return true;
    }
    onKeyDown(key);
    return false;
}

bool Object::OnKeyUp(int key) {
    if (!visible) {
        return false;
    }
    const Handle self = handle();
    if (forEachChildSafely(true, [&](Object* child) { return child->OnKeyUp(key); }) || !self.alive()) {
        return true;
    }
    onKeyUp(key);
    return false;
}

bool Object::OnChar(unsigned int charCode) {
    if (!visible) {
        return false;
    }
    const Handle self = handle();
    if (forEachChildSafely(true, [&](Object* child) { return child->OnChar(charCode); }) || !self.alive()) {
        return true;
    }
    onChar(charCode);
    return false;
}

void Object::onMouseDown(float, float, int) {}
void Object::onMouseUp(float, float, int) {}
void Object::onMouseMove(float, float) {}
void Object::onKeyDown(int) {}
void Object::onKeyUp(int) {}
void Object::onChar(unsigned int) {}

void Object::update(float dt) {
    forEachChildSafely(false, [dt](Object* child) {
        child->update(dt);
        return false;
    });
}

bool Object::setProperty(const String& property, const String& value) {
    if (property == "x") {
        rect.x = value.toFloat();
    } else if (property == "y") {
        rect.y = value.toFloat();
    } else if (property == "w" || property == "width") {
        rect.w = value.toFloat();
    } else if (property == "h" || property == "height") {
        rect.h = value.toFloat();
    } else if (property == "visible") {
        visible = value.toBool();
    } else if (property == "alpha") {
        alpha = value.toFloat();
    } else if (property == "disabled") {
        disabled = value.toBool();
    } else if (property == "block_input") {
        blockInput = value.toBool();
    } else {
        return false;
    }
    return true;
}

Dataset* Object::getDataset() {
    return dataset;
}

void Object::OnDraw(const morvec::Vector2&) {}

Image* Object::getImage() {
    return nullptr;
}
void Object::setImage(Image*) {}

void Object::draw(const morvec::Vector2& offset) {
    if (!visible) {
        return;
    }
    OnDraw(offset);
    const morvec::Vector2 inner = offset + rect.getPosition();
    for (size_t i = 0; i < children.size(); ++i) {
        children[i]->draw(inner);
    }
}

void Object::setPosition(float x, float y) {
    rect.x = x;
    rect.y = y;
}

void Object::setSize(float width, float height) {
    rect.w = width;
    rect.h = height;
}

float Object::getDerivedAlpha() const {
    float result = alpha;
    for (const Object* p = parent; p; p = p->parent) {
        result *= p->alpha;
    }
    return result;
}

bool Object::isHovered() const {
    const Handle self = handle();
    return std::any_of(pointer().hovered.begin(), pointer().hovered.end(), [&](const Handle& h) {
        return h.object == self.object && h.generation == self.generation && h.slot == self.slot;
    });
}

bool Object::isPressed() const {
    const Handle& pressed = pointer().pressed;
    return !pointer().released && pressed.object == this && pressed.alive();
}

Object* Object::getChild(const String& childName) const {
    for (Object* child : children) {
        if (child->name == childName) {
            return child;
        }
    }
    return nullptr;
}

bool Object::contains(const Object* other) const {
    for (const Object* o = other; o; o = o->parent) {
        if (o == this) {
            return true;
        }
    }
    return false;
}

void Object::addChild(Object* child) {
    if (!child || child->contains(this)) {
        throw _GenericException("can't add " + String(child ? "'" + child->name + "'" : "null") + " as a child of '" +
                                name + "'");
    }
    if (child->parent && child->parent != this) {
        child->leaveParent();
    }
    std::erase(children, child);
    child->parent = this;
    children.push_back(child);
}

void Object::removeChild(Object* child) {
    if (child && child->parent == this) {
        child->leaveParent();
    }
}

void Object::removeAllChildren() {
    for (Object* child : children) {
        child->parent = nullptr;
        child->forgetHovered();
    }
    children.clear();
}

// An object that leaves its tree no longer rests under the pointer: a hover entry kept would show it
// hovered when it is attached again (a menu shown anew), until the pointer next moved over its tree.
void Object::leaveParent() {
    std::erase(parent->children, this);
    parent = nullptr;
    forgetHovered();
}

void Object::reorderChildren(const std::vector<Object*>& order) {
    std::vector<Object*> sortedOld = children;
    std::vector<Object*> sortedNew = order;
    std::sort(sortedOld.begin(), sortedOld.end());
    std::sort(sortedNew.begin(), sortedNew.end());
    if (sortedOld != sortedNew) {
        throw _GenericException("the new order of the children of '" + name + "' does not hold the same objects");
    }
    children = order;
}

void Object::moveToFront() {
    if (parent) {
        std::vector<Object*>& siblings = parent->children;
        auto it = std::find(siblings.begin(), siblings.end(), this);
        std::rotate(it, it + 1, siblings.end());
    }
}

void Object::moveToBack() {
    if (parent) {
        std::vector<Object*>& siblings = parent->children;
        auto it = std::find(siblings.begin(), siblings.end(), this);
        std::rotate(siblings.begin(), it, it + 1);
    }
}

Object* Object::findUnderPoint(float x, float y) {
    if (!visible || getDerivedAlpha() <= 0.0f) {
        return nullptr;
    }
    const float lx = x - rect.x;
    const float ly = y - rect.y;
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (Object* found = (*it)->findUnderPoint(lx, ly)) {
            return found;
        }
    }
    return isPointInside(x, y) ? this : nullptr;
}

Object* Object::getChildUnderPoint(float x, float y) {
    const float lx = x - rect.x;
    const float ly = y - rect.y;
    if (visible && getDerivedAlpha() > 0.0f) {
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            if (Object* found = (*it)->findUnderPoint(lx, ly)) {
                return found;
            }
        }
    }
    return this;
}

void Object::registerEvent(const String& event, EventHandler handler) {
    if (handler) {
        events[event] = std::move(handler);
    } else {
        events.erase(event);
    }
}

void Object::triggerEvent(const String& event, float x, float y, const String& text) {
    auto it = events.find(event);
    if (it == events.end()) {
        return;
    }
    // A copy: the handler may replace or remove itself, or destroy this object.
    EventHandler handler = it->second;
    EventArgs args(this, x, y, text);
    handler(&args);
}

} // namespace nimboui
