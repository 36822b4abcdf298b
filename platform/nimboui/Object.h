#pragma once
// The node of the GUI tree: a named rectangle with children, events and input routing.
//
// Positions are in the parent's space (virtual-screen units for a root); an object draws its
// children offset by its own position and hands them input points shifted the same way. The
// parent-child link never owns: a dataset owns what it parsed, and code owns what it made.
// Destroying an object detaches it from its parent and clears its children's parent link.

#include "morvec/Rectangle.h"
#include "morvec/Vector.h"
#include "vessot/String.h"

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace nimboui {

using vessot::String;

class Dataset;
class Image;
class Object;

// What a handler gets: the object that fired the event, a point and a text.
struct EventArgs {
    EventArgs(Object* object, float x, float y, const String& text) : object(object), x(x), y(y), text(text) {}

    Object* object;
    float x;
    float y;
    String text;
};

using EventHandler = std::function<void(EventArgs*)>;

class Object {
public:
    Object(const String& typeName, const String& name, const morvec::Rectangle& rect);
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object();

    // Passes the event to every child; subclasses react to the ones they know first.
    virtual void notifyEvent(const String& event, void* params);
    // Passes to every child; animators end their run and restart what their definition started.
    virtual void reset();
    // The point is in the parent's space, like the position.
    virtual bool isPointInside(float x, float y);
    virtual bool isPointInside(const morvec::Vector2& point);

    // Input routing (docs/gui.md): the point is in the parent's space. Each offers the event to
    // the visible children, front-most first, until one answers true; a mouse event is then taken
    // by the object itself when it takes the pointer, and keys only reach its own hooks. The
    // answer says whether the event was consumed.
    virtual bool OnMouseDown(float x, float y, int button);
    virtual bool OnMouseUp(float x, float y, int button);
    virtual bool OnMouseMove(float x, float y);
    virtual bool OnKeyDown(int key);
    virtual bool OnKeyUp(int key);
    virtual bool OnChar(unsigned int charCode);
    // The object's own reaction once it took the event, or, for keys, once no child took it
    // (hooks for subclasses; nothing here).
    virtual void onMouseDown(float x, float y, int button);
    virtual void onMouseUp(float x, float y, int button);
    virtual void onMouseMove(float x, float y);
    virtual void onKeyDown(int key);
    virtual void onKeyUp(int key);
    virtual void onChar(unsigned int charCode);

    // Advances the object and all its children, visible or not.
    virtual void update(float dt);
    // A property from a definition or scene file; false when the name is unknown.
    virtual bool setProperty(const String& name, const String& value);
    virtual Dataset* getDataset();
    // Draws the object itself; offset is the parent's position on screen.
    virtual void OnDraw(const morvec::Vector2& offset);
    // Objects without an image answer null and ignore setImage.
    virtual Image* getImage();
    virtual void setImage(Image* image);

    // When visible: OnDraw, then the children offset by the position.
    void draw(const morvec::Vector2& offset);

    const String& getName() const { return name; }
    const String& getTypeName() const { return typeName; }
    void setTypeName(const String& type) { typeName = type; }
    void setDataset(Dataset* owner) { dataset = owner; }

    morvec::Vector2 getPosition() const { return rect.getPosition(); }
    void setPosition(float x, float y);
    void setPosition(const morvec::Vector2& position) { setPosition(position.x, position.y); }
    float getX() const { return rect.x; }
    float getY() const { return rect.y; }
    void setX(float x) { rect.x = x; }
    void setY(float y) { rect.y = y; }
    morvec::Vector2 getSize() const { return rect.getSize(); }
    void setSize(float width, float height);
    float getWidth() const { return rect.w; }
    float getHeight() const { return rect.h; }
    void setWidth(float width) { rect.w = width; }
    void setHeight(float height) { rect.h = height; }
    // The object's own rectangle, in the parent's space.
    const morvec::Rectangle& _getDrawRect() const { return rect; }

    bool isVisible() const { return visible; }
    void setVisible(bool value) { visible = value; }
    float getAlpha() const { return alpha; }
    void setAlpha(float value) { alpha = value; }
    // The own alpha times every parent's.
    float getDerivedAlpha() const;
    // A disabled object neither hovers nor fires Click.
    bool isDisabled() const { return disabled; }
    void setDisabled(bool value) { disabled = value; }
    // Takes the pointer without a handler of its own, so nothing behind it gets it.
    bool isBlockingInput() const { return blockInput; }
    void setBlockingInput(bool value) { blockInput = value; }
    // The pointer rests on it (the last move found it) / a press began on it and is not released.
    bool isHovered() const;
    bool isPressed() const;

    Object* getParent() const { return parent; }
    const std::vector<Object*>& getChildren() const { return children; }
    // The first child of that name, or null.
    Object* getChild(const String& childName) const;
    // Detaches the child from a former parent first; the last child is drawn on top.
    void addChild(Object* child);
    void removeChild(Object* child);
    void removeAllChildren();
    // Puts the children in a new order; the list must hold exactly the current children.
    void reorderChildren(const std::vector<Object*>& order);
    // Moves this object to the end (drawn last, on top) or the start of its parent's children.
    void moveToFront();
    void moveToBack();
    // The deepest visible descendant with a derived alpha above 0 that holds the point (in this
    // object's parent's space); the object itself when none does.
    Object* getChildUnderPoint(float x, float y);
    Object* getChildUnderPoint(const morvec::Vector2& point) { return getChildUnderPoint(point.x, point.y); }

    // Replaces the handler of the event; a null handler removes it.
    void registerEvent(const String& event, EventHandler handler);
    bool hasEvent(const String& event) const { return events.count(event) != 0; }
    // Calls the handler of the event, if any, with EventArgs(this, x, y, text). The handler may
    // destroy this object; nothing of it is touched afterwards.
    void triggerEvent(const String& event, float x, float y, const String& text);

    // Takes part in the pointer rules: a handler for Click or MouseDown, a blocker, or a kind of
    // object that always does (buttons, edit boxes).
    virtual bool isInteractive() const;
    // Visible, derived alpha above 0, interactive, and the point inside.
    bool takesPointer(float x, float y);

    // A weak reference that tells whether the object still exists.
    struct Handle {
        Object* object = nullptr;
        uint32_t slot = 0;
        uint32_t generation = 0;
        bool alive() const;
    };
    Handle handle() const { return {const_cast<Object*>(this), handleSlot, handleGeneration}; }

protected:
    // Whether the subtree holds the object (itself included).
    bool contains(const Object* other) const;

    String typeName;
    String name;
    morvec::Rectangle rect;
    bool visible = true;
    float alpha = 1.0f;
    bool disabled = false;
    bool blockInput = false;
    Dataset* dataset = nullptr;

private:
    Object* findUnderPoint(float x, float y);
    template <class Visit> bool forEachChildSafely(bool frontFirst, Visit visit);
    bool routeMouseUp(float x, float y, int button);
    // Drops the hover entries of this subtree (and those of objects gone).
    void forgetHovered() const;
    // Detaches this object from its parent, which it must have.
    void leaveParent();

    Object* parent = nullptr;
    std::vector<Object*> children;
    std::map<String, EventHandler> events;
    uint32_t handleSlot = 0;
    uint32_t handleGeneration = 0;
};

} // namespace nimboui
