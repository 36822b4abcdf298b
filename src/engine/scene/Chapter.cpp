#include "engine/scene/Chapter.h"

#include "engine/InterfaceServices.h"
#include "engine/app/Engine.h"
#include "engine/app/Lifetime.h"
#include "engine/objects/ActionArrowMarker.h"
#include "engine/objects/DelayedAction.h"
#include "engine/objects/DelayedCommand.h"
#include "engine/objects/FadingImage.h"
#include "engine/objects/HiddenObject.h"
#include "engine/objects/LBAMap.h"
#include "engine/objects/VideoObject.h"
#include "engine/scene/ActionMap.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/session/zephUtil.h"
#include "script/Action.h"
#include "script/Character2D.h"
#include "script/Character2DRef.h"
#include "script/Dialog.h"
#include "script/DialogManager.h"

#include "echon/AudioManager.h"
#include "nimboui/nimboui.h"
#include "vessot/File.h"
#include "vessxml/Xml.h"

#include <memory>

Chapter* uiChapter = nullptr;
Chapter* charactersChapter = nullptr;

namespace {

[[noreturn]] void fail(const String& message) {
    throw nimboui::_GenericException(message, "GenericException", __FILE__, __LINE__);
}

// The folder that directly holds the definition file.
String chapterName(const String& definitionPath) {
    vessot::Array<String> parts = definitionPath.rsplit("/", 2);
    if (parts.size() < 2 || parts[-2].empty()) {
        fail("Can't name a chapter after the definition file '" + definitionPath + "': it lies in no folder");
    }
    return parts[-2];
}

constexpr int MAX_VARIABLE_STEPS = 16;

} // namespace

Chapter::Chapter(const String& definitionPath, ChapterCallback preLoadCallback)
    : nimboui::Dataset(definitionPath, chapterName(definitionPath)), preLoadCallback(preLoadCallback) {}

Chapter::~Chapter() {
    unload();
    if (uiChapter == this) {
        uiChapter = nullptr;
    }
    if (charactersChapter == this) {
        charactersChapter = nullptr;
    }
}

bool Chapter::acceptAllSceneFiles(const String&) {
    return true;
}

void Chapter::load() {
    Session::log("Loading chapter " + getName());
    sceneSources.clear();
    try {
        if (preLoadCallback) {
            preLoadCallback(this);
        }
        nimboui::Dataset::load();
        loadContent();
    } catch (...) {
        // A broken chapter leaves nothing half built behind, nor what its callback registered.
        destroyContent();
        nimboui::Dataset::unload();
        throw;
    }
}

void Chapter::loadContent() {
    String folder = zephUtil::getDirectory(getDefinitionFilePath());
    Session::log("loading sounds");
    if (echon::mgr) {
        echon::mgr->createSoundsFromPath(folder + "/audio", getName() + ".");
    }
    Session::log("loading scenes");
    for (const String& entry : vessot::ResourceDir::contents(folder + "/scenes", true)) {
        if (entry.endsWith(".scene") && sceneFileFilter(entry)) {
            parseSceneFile(entry);
        }
    }
    Session::log("loading action maps");
    for (const String& entry : vessot::ResourceDir::contents(folder + "/action_maps", true)) {
        if (!entry.endsWith(".amp")) {
            continue;
        }
        auto* map = new ActionMap(entry);
        ActionMap*& slot = actionMaps[map->getName()];
        delete slot;
        slot = map;
    }
    Session::log("loading dialogs");
    int count = 0;
    for (const String& entry : vessot::ResourceDir::contents(folder + "/dialogs", true)) {
        if (entry.endsWith(".dlg")) {
            count += DialogManager::load(entry, dialogs, this);
        }
    }
    Session::log("loaded " + String(count) + " dialogs.");
    for (auto& [key, scene] : scenes) {
        scene->ensureRoot();
        if (!actionMaps.count(key)) {
            fail("Scene '" + key + "' of chapter " + getName() + " has no hotspot map: " + folder + "/action_maps/" +
                 key + ".amp is missing");
        }
        scene->actionMap = getActionMap(key);
    }
}

void Chapter::destroyContent() {
    // Destroyed when the engine's current callback returns: scene code may still be on the stack.
    for (auto& [key, map] : actionMaps) {
        Lifetime::retire(map);
    }
    actionMaps.clear();
    DialogManager::release(dialogs);
    for (auto& [key, dialog] : dialogs) {
        Lifetime::retire(dialog);
    }
    dialogs.clear();
    for (auto& [key, scene] : scenes) {
        // Nothing keeps pointing at a scene that is gone once the current callback returns.
        if (Session::previousScene == scene) {
            Session::previousScene = nullptr;
        }
        if (Session::activeScene == scene) {
            Session::activeScene = nullptr;
        }
        Lifetime::retire(scene);
    }
    scenes.clear();
    for (auto& [key, action] : namedActions) {
        Lifetime::retire(action);
    }
    namedActions.clear();
    sceneSources.clear();
}

void Chapter::unload() {
    if (!isLoaded()) {
        return;
    }
    Session::log("Unloading chapter " + getName());
    destroyContent();
    if (echon::mgr) {
        musicQueue.stopAll();
        echon::mgr->stopAll(0.0f);
        echon::mgr->destroySoundsWithPrefix(getName() + ".");
    }
    nimboui::Dataset::unload();
}

void Chapter::unloadTextures() {
    for (nimboui::Texture* texture : getTextures()) {
        if (texture->isOnDemand() && texture->getIdleTime() > 1.0f) {
            texture->unload();
        }
    }
    for (nimboui::RamTexture* texture : getRamTextures()) {
        texture->unload();
    }
}

// ---------------------------------------------------------------- scene files

void Chapter::parseSceneFile(const String& path) {
    String saved = getDefinitionFilePath();
    setDefinitionFilePath(path);
    Session::log("parsing scene: " + path);
    try {
        vessxml::Document document = vessxml::open(path);
        parseCustomNode(document.getRoot());
    } catch (...) {
        setDefinitionFilePath(saved);
        throw;
    }
    setDefinitionFilePath(saved);
}

void Chapter::parseCustomNode(vessxml::Node* element) {
    if (*element == "Scene") {
        parseScene(element);
    }
}

void Chapter::parseScene(vessxml::Node* element) {
    String name = element->pstr("name");
    String file = getDefinitionFilePath();
    auto earlier = sceneSources.find(name);
    if (earlier != sceneSources.end()) {
        fail("Scene '" + name + "' of chapter " + getName() + " is defined twice: in " + earlier->second + " and in " +
             file);
    }
    sceneSources[name] = file;
    Scene* scene = nullptr;
    auto registered = scenes.find(name);
    if (registered != scenes.end()) {
        scene = registered->second;
    } else {
        scene = Scene::create(this, element);
        scenes[name] = scene;
    }
    scene->load(element);
    for (const auto& [attribute, value] : element->attributes()) {
        if (attribute != "name") {
            scene->properties[attribute] = value;
        }
    }
    parseBootCommands(element, scene, "");
    scene->root->removeAllChildren();
}

namespace {

using ObjectMaker = nimboui::Object* (*)(Chapter* chapter, vessxml::Node* element, const String& name,
                                         const morvec::Rectangle& rect);

template <class T>
nimboui::Object* makeObject(Chapter*, vessxml::Node*, const String& name, const morvec::Rectangle& rect) {
    return new T(name, rect);
}

nimboui::Object* makeDelayedCommand(Chapter*, vessxml::Node*, const String& name, const morvec::Rectangle&) {
    return new Animators::DelayedCommand(name);
}

// Each "Action" child becomes one of the object's actions, with the child's "condition".
nimboui::Object* makeDelayedAction(Chapter* chapter, vessxml::Node* element, const String& name,
                                   const morvec::Rectangle&) {
    auto object = std::make_unique<Animators::DelayedAction>(name);
    for (vessxml::Node* child : element->children()) {
        if (*child == "Action") {
            object->setAction(Action::createFromXml(child, chapter), child->pstr("condition", ""));
        }
    }
    return object.release();
}

struct ObjectType {
    ObjectMaker make;
    // Made only from "Animator" elements.
    bool animator;
};

// The engine's object types by an element's "type"; the GUI library makes its own types itself.
const std::map<String, ObjectType> OBJECT_TYPES = {
    {"HiddenObject", {makeObject<HiddenObject>, false}},
    {"VideoObject", {makeObject<nimbovideo::VideoObject>, false}},
    {"ActionArrowMarker", {makeObject<ActionArrowMarker>, false}},
    {"FadingImage", {makeObject<FadingImage>, false}},
    {"LBAMap", {makeObject<LBAMap>, false}},
    {"Character2DDef", {makeObject<Character2D>, false}},
    {"Character2D", {makeObject<Character2DRef>, false}},
    {"DelayedCommand", {makeDelayedCommand, true}},
    {"DelayedAction", {makeDelayedAction, true}},
};

} // namespace

bool Chapter::readsObjectAttribute(const String& attribute) const {
    return attribute == "condition";
}

nimboui::Object* Chapter::createCustomObject(vessxml::Node* element, const String& name,
                                             const morvec::Rectangle& rect) {
    auto type = OBJECT_TYPES.find(element->pstr("type", ""));
    if (type == OBJECT_TYPES.end() || (type->second.animator && *element != "Animator")) {
        return nullptr;
    }
    return type->second.make(this, element, name, rect);
}

// ---------------------------------------------------------------- registries

void Chapter::registerScene(const String& name, Scene* scene) {
    auto registered = scenes.find(name);
    if (registered != scenes.end()) {
        if (registered->second != scene) {
            delete scene;
        }
        fail("can't register an already registered scene: " + name + " in chapter: " + getName());
    }
    scenes[name] = scene;
}

Scene* Chapter::getScene(const String& name) {
    auto found = scenes.find(name);
    if (found == scenes.end()) {
        throw _SceneNotFoundExeption(this, __FILE__, __LINE__, name);
    }
    return found->second;
}

bool Chapter::hasScene(const String& name) {
    if (isLoaded()) {
        return scenes.count(name) != 0;
    }
    String folder = zephUtil::getDirectory(getDefinitionFilePath());
    for (const String& entry : vessot::ResourceDir::contents(folder + "/scenes", true)) {
        if (!entry.endsWith(".scene") || !sceneFileFilter(entry)) {
            continue;
        }
        vessxml::Document document = vessxml::open(entry);
        vessxml::Node* root = document.getRoot();
        bool defines = *root == "Scene" && root->pstr("name", "") == name;
        vessxml::close(document);
        if (defines) {
            return true;
        }
    }
    return false;
}

ActionMap* Chapter::getActionMap(const String& name) {
    auto found = actionMaps.find(name);
    if (found == actionMaps.end()) {
        throw nimboui::_ResourceNotExistsException(name, "ActionMap", getName());
    }
    return found->second;
}

Dialog* Chapter::getDialog(const String& name) {
    auto found = dialogs.find(name);
    if (found != dialogs.end()) {
        return found->second;
    }
    if (!name.empty()) {
        throw nimboui::_ResourceNotExistsException(name, "Dialog", getName());
    }
    if (uiChapter) {
        if (nimboui::Object* panel = uiChapter->findObject("dialog")) {
            panel->setVisible(false);
        }
    }
    if (!Session::sceneLocked) {
        Hud::showButtons(false);
    }
    return nullptr;
}

void Chapter::registerNamedAction(const String& name, Action* action) {
    if (namedActions.count(name)) {
        delete action;
        fail("Named action '" + name + "' already registered in chapter " + getName());
    }
    namedActions[name] = action;
}

Action* Chapter::getNamedAction(const String& name) {
    String chapterPart;
    String actionPart;
    if (name.split(".", chapterPart, actionPart)) {
        auto* other = dynamic_cast<Chapter*>(nimboui::getDatasetByName(chapterPart));
        if (!other) {
            fail("Cannot find named action '" + name + "': there is no chapter " + chapterPart);
        }
        return other->findNamedAction(actionPart);
    }
    return findNamedAction(name);
}

Action* Chapter::findNamedAction(const String& name) const {
    auto found = namedActions.find(name);
    if (found == namedActions.end()) {
        fail("Cannot find named action '" + name + "' in chapter " + getName());
    }
    return found->second;
}

void Chapter::onCallback(const String& name) {
    findNamedAction(name)->execute();
}

String Chapter::getFullSoundName(const String& name) const {
    return name.contains(".") ? name : getName() + "." + name;
}

// ---------------------------------------------------------------- lookups

String Chapter::resolveVariable(const String& name) const {
    String value = name;
    for (int step = 0; step < MAX_VARIABLE_STEPS; ++step) {
        value = Vars::value(value.substr(1));
        if (!value.startsWith("$")) {
            return value;
        }
    }
    fail("The variable name '" + name + "' leads back to itself");
}

Chapter* Chapter::chapterOf(const String& name, String& key) const {
    String chapterPart;
    if (!name.split(".", chapterPart, key)) {
        return nullptr;
    }
    return dynamic_cast<Chapter*>(nimboui::getDatasetByName(chapterPart));
}

Chapter* Chapter::resolveName(String& name) {
    Chapter* chapter = this;
    String original = name;
    // One count for both rules: a value such as "test.$loop" alternates between them.
    for (int step = 0;; ++step) {
        String key;
        bool variable = name.startsWith("$");
        Chapter* other = variable ? nullptr : chapterOf(name, key);
        if (!variable && !other) {
            return chapter;
        }
        if (step == MAX_VARIABLE_STEPS) {
            fail("The variable name '" + original + "' leads back to itself");
        }
        if (variable) {
            name = Vars::value(name.substr(1));
        } else {
            chapter = other;
            name = key;
        }
    }
}

nimboui::Object* Chapter::getObject(const String& name) {
    String key = name;
    return resolveName(key)->nimboui::Dataset::getObject(key);
}

nimboui::Image* Chapter::getImage(const String& name) {
    if (name.startsWith("$")) {
        String value = resolveVariable(name);
        if (value.empty() || value == "None") {
            value = "0xCAFEBABE";
        }
        return nimboui::Dataset::getImage(value);
    }
    return nimboui::Dataset::getImage(name);
}

String Chapter::getTextEntry(const String& key) {
    String local = key;
    return resolveName(local)->nimboui::Dataset::getTextEntry(local);
}

String Chapter::getText(const String& key) {
    if (key.startsWith("$")) {
        return getTextEntry(key);
    }
    return nimboui::Dataset::getText(key);
}

bool Chapter::textExists(const String& key) {
    String local = key;
    return resolveName(local)->nimboui::Dataset::textExists(local);
}
