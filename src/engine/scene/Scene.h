#pragma once
// A place the player can be: a story scene, an interface menu, a puzzle or a minigame. A scene
// belongs to a chapter, holds a root GUI object with everything drawn in it, a hotspot map with
// the actions bound to its area ids, the boot commands run each time it becomes active, and the
// properties of its scene file.

#include "nimbo/Color.h"
#include "vessot/String.h"

#include <cstdint>
#include <map>
#include <vector>

using vessot::String;

class Action;
class ActionMap;
class BootCommand;
class Chapter;

namespace nimboui {
class ImageBox;
class Object;
class Texture;
} // namespace nimboui

namespace vessxml {
class Node;
}

class Scene {
public:
    Scene(Chapter* chapter, const String& name);
    virtual ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // onUpdate, then the root object's update.
    virtual void update(float dt);
    virtual void onEnter() {}
    virtual void onLeave() {}
    virtual void onUpdate(float dt) { (void)dt; }
    virtual bool onMouseDown(float x, float y, int button);
    // The click path: the hotspot under the point and its action; answers whether it was consumed.
    virtual bool onMouseUp(float x, float y, int button);
    virtual bool onMouseMove(float x, float y);
    virtual void draw();
    // Makes the root object from the scene element; reads "image" and "on_skip".
    virtual void load(vessxml::Node* sceneElement);
    virtual void userHook(void* argument) { (void)argument; }

    // The scene of the element's "type"; an unknown type throws naming it and the scene file.
    static Scene* create(Chapter* chapter, vessxml::Node* sceneElement);

    // Chapter name, "." and scene name ("ship.Cockpit").
    String getFullName() const;
    const String& getName() const { return name; }
    // "" when the scene has no such property.
    String getProperty(const String& key) const;

    // Sets "active_scene", runs the boot commands whose conditions hold, starts the queued music,
    // then onEnter.
    void activate();
    void deactivate(bool releaseTextures);
    // Deactivates, sets "prev_scene" to this scene and activates again.
    void reset();
    // Whether activate is running its boot commands.
    bool isActivating() const { return activating; }
    // The full names of the scenes whose activation is under way, outermost first: more than one
    // when a boot command switched scene at once.
    static const std::vector<String>& activationsUnderWay();

    Action* getActionAt(float x, float y);
    // The rollover key under the point; "" with an item in hand.
    String getActionNameAt(float x, float y);
    String getHoverText(float x, float y);
    // "zbase" - "zfactor" * y; 0 without "zbase".
    float getDepthScale(float y) const;
    // The light map "<name>_LM" at the point; opaque white without one.
    nimbo::Color sampleLightMap(float x, float y);
    // Adds the textures of the object's image and its descendants' (no duplicates).
    static void collectTextures(nimboui::Object* object, std::vector<nimboui::Texture*>& textures);
    // Gives a scene that no scene file loaded an empty root (scenes registered by code).
    void ensureRoot();

    Chapter* chapter;
    String name;
    ActionMap* actionMap = nullptr;
    std::map<uint32_t, Action*> actions;
    std::vector<BootCommand*> bootCommands;
    nimboui::ImageBox* root = nullptr;
    String onSkip;
    std::map<String, String> properties;

private:
    void makeRoot(const String& imageName);

    bool activating = false;
};
