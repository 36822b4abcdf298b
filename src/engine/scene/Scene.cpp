#include "engine/scene/Scene.h"

#include "engine/ContentServices.h"
#include "engine/InterfaceServices.h"
#include "engine/app/Engine.h"
#include "engine/scene/ActionMap.h"
#include "engine/scene/BootCommand.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/LogoScreen.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/Actions.h"
#include "script/Inventory.h"
#include "script/Speech.h"

#include "nimbo/SystemInfo.h"
#include "nimboui/nimboui.h"
#include "vessot/Format.h"
#include "vessot/Log.h"
#include "vessxml/Xml.h"

#include <algorithm>

Scene::Scene(Chapter* chapter, const String& name) : chapter(chapter), name(name) {}

Scene::~Scene() {
    for (BootCommand* command : bootCommands) {
        delete command;
    }
    delete root;
}

void Scene::update(float dt) {
    onUpdate(dt);
    if (root) {
        root->update(dt);
    }
}

bool Scene::onMouseDown(float x, float y, int button) {
    return root && root->OnMouseDown(x, y, button);
}

bool Scene::onMouseMove(float x, float y) {
    return root && root->OnMouseMove(x, y);
}

void Scene::draw() {
    if (root) {
        root->draw(morvec::Vector2(0, 0));
    }
}

namespace {

// The item action a click hands on: the action itself, or the target of a reference to one.
Action* itemActionOf(Action* action) {
    if (action->getTypeName() == "ItemAction") {
        return action;
    }
    if (auto* reference = dynamic_cast<Actions::Reference*>(action)) {
        Action* target = reference->getAction();
        if (target && target->getTypeName() == "ItemAction") {
            return target;
        }
    }
    return nullptr;
}

} // namespace

bool Scene::onMouseUp(float x, float y, int button) {
    uint32_t id = actionMap ? actionMap->getAreaAt((int)x, (int)y) : 0;
    String held = Inventory::getSelectedItem();
    auto bound = actions.find(id);
    if (bound != actions.end() && bound->second) {
        Action* action = bound->second;
        if (held.empty() || itemActionOf(action)) {
            Hud::performAction(action);
            if (root) {
                root->OnMouseUp(x, y, button);
            }
            return true;
        }
        if (!action->getRolloverKey().contains("|")) {
            Speech::sayGenericLine();
        }
        Inventory::setSelectedItem("");
        return true;
    }
    if (!held.empty()) {
        Inventory::setSelectedItem("");
        return true;
    }
    // Not consumed, even where an object of the scene takes the click: the character walks there.
    if (root) {
        root->OnMouseUp(x, y, button);
    }
    return false;
}

void Scene::makeRoot(const String& imageName) {
    delete root;
    root = new nimboui::ImageBox(name + "_objowner", morvec::Rectangle(0, 0, (float)screenWidth, (float)screenHeight));
    root->setDataset(chapter);
    root->setImageByName(imageName);
}

void Scene::load(vessxml::Node* sceneElement) {
    makeRoot(sceneElement->pstr("image", name));
    if (sceneElement->pexists("on_skip")) {
        onSkip = sceneElement->pstr("on_skip");
    }
}

void Scene::ensureRoot() {
    if (!root) {
        vessot::Log::warn("zeph", "scene " + getFullName() + " was registered but no scene file loads it");
        makeRoot("null");
    }
}

namespace {

using SceneMaker = Scene* (*)(Chapter* chapter, const String& name);

template <class T> Scene* makeScene(Chapter* chapter, const String& name) {
    return new T(chapter, name);
}

// The scene classes by a scene element's "type": the minigames of the content, and the logo screen.
const std::map<String, SceneMaker> SCENE_TYPES = {
    {"Jigsaw", makeScene<JigsawScene>},     {"Match2", makeScene<Match2Scene>},   {"Domino", makeScene<DominoScene>},
    {"Sequence", makeScene<SequenceScene>}, {"Rotator", makeScene<RotatorScene>}, {"LogoScreen", makeScene<LogoScreen>},
};

} // namespace

Scene* Scene::create(Chapter* chapter, vessxml::Node* sceneElement) {
    String name = sceneElement->pstr("name");
    if (!sceneElement->pexists("type")) {
        return new Scene(chapter, name);
    }
    String type = sceneElement->pstr("type");
    auto maker = SCENE_TYPES.find(type);
    if (maker == SCENE_TYPES.end()) {
        throw nimboui::_GenericException("Unknown scene type '" + type + "' in " + sceneElement->getFile(),
                                         "GenericException", __FILE__, __LINE__);
    }
    return maker->second(chapter, name);
}

String Scene::getFullName() const {
    return chapter->getName() + "." + name;
}

String Scene::getProperty(const String& key) const {
    auto found = properties.find(key);
    return found == properties.end() ? String() : found->second;
}

namespace {

// The activations under way, outermost first, and the number of activations ever begun.
std::vector<String> activationChain;
unsigned activationCount = 0;

struct ActivationUnderWay {
    explicit ActivationUnderWay(const String& name) { activationChain.push_back(name); }
    ~ActivationUnderWay() { activationChain.pop_back(); }
};

} // namespace

const std::vector<String>& Scene::activationsUnderWay() {
    return activationChain;
}

void Scene::activate() {
    ActivationUnderWay underWay(getFullName());
    unsigned activation = ++activationCount;
    Vars::get("active_scene")->setValue(getFullName(), false);
    // A boot command that switches scene (and may unload this chapter), or enters this very scene
    // again, ends the activation: the rest belongs to an activation that is no longer current.
    Scene* entered = Session::activeScene;
    activating = true;
    for (BootCommand* command : bootCommands) {
        if (Session::checkCondition(command->condition)) {
            command->execute(this);
        }
        if (Session::activeScene != entered || activationCount != activation) {
            activating = false;
            return;
        }
    }
    activating = false;
    const auto& queue = musicQueue.getSoundQueue();
    if (queue.size() == 1 && queue[0] == "DONT_CHANGE") {
        musicQueue.setSoundQueue({});
    } else {
        musicQueue.updateList();
    }
    onEnter();
}

void Scene::deactivate(bool releaseTextures) {
    actions.clear();
    for (nimboui::Object* object : chapter->getObjects()) {
        auto* fader = dynamic_cast<nimboui::Animators::AlphaFader*>(object);
        if (!fader) {
            continue;
        }
        if (chapter->getName() == "ui" &&
            (fader->getName().contains("achievement_") || fader->getName().contains("cdialog"))) {
            continue;
        }
        fader->reset();
    }
    bool lowMemory = releaseTextures && nimbo::getSystemInfo().ram < 500;
    std::vector<nimboui::Texture*> textures;
    if (lowMemory && root) {
        if (nimboui::Image* image = root->getImage(); image && image->getTexture()) {
            textures.push_back(image->getTexture());
        }
    }
    if (root) {
        std::vector<nimboui::Object*> children = root->getChildren();
        for (nimboui::Object* child : children) {
            child->notifyEvent("DetachFromScene", this);
            if (lowMemory) {
                collectTextures(child, textures);
            }
        }
        root->removeAllChildren();
    }
    for (nimboui::Texture* texture : textures) {
        texture->unload();
    }
    onLeave();
}

void Scene::reset() {
    deactivate(false);
    Vars::get("prev_scene")->setValue(getFullName(), false);
    activate();
}

Action* Scene::getActionAt(float x, float y) {
    if (!actionMap) {
        return nullptr;
    }
    auto found = actions.find(actionMap->getAreaAt((int)x, (int)y));
    return found == actions.end() ? nullptr : found->second;
}

String Scene::getActionNameAt(float x, float y) {
    if (!Inventory::getSelectedItem().empty()) {
        return "";
    }
    Action* action = getActionAt(x, y);
    return action ? action->getRolloverKey() : String();
}

String Scene::getHoverText(float x, float y) {
    Action* action = getActionAt(x, y);
    if (!action) {
        return "";
    }
    String key = action->getRolloverKey();
    String text = chapter->getText(key);
    String item = Inventory::getSelectedItem();
    if (item.empty()) {
        return text;
    }
    if (key.contains("|")) {
        return "";
    }
    String itemText = chapter->getText("ui.obj_" + item);
    nimboui::Dataset* ui = nimboui::getDatasetByName("ui");
    String format = ui ? ui->getText("ZEPH_USE_A_WITH_B") : String("%s %s");
    return vessot::jsprintf(format, itemText, text);
}

float Scene::getDepthScale(float y) const {
    String zbase = getProperty("zbase");
    if (zbase.empty()) {
        return 0.0f;
    }
    return zbase.toFloat() - getProperty("zfactor").toFloat() * y;
}

nimbo::Color Scene::sampleLightMap(float x, float y) {
    // Most scenes have no light map, and every character asks every frame: a lookup, not a throw.
    nimboui::RamTexture* lightMap = chapter->findRamTexture(name + "_LM");
    if (!lightMap) {
        return nimbo::Color(255, 255, 255, 255);
    }
    if (!lightMap->isLoaded()) {
        lightMap->load();
    }
    float sceneWidth = (float)screenWidth;
    String width = getProperty("width");
    if (!width.empty() && width.toFloat() > 0) {
        sceneWidth = width.toFloat();
    }
    float textureWidth = (float)lightMap->getWidth();
    float textureHeight = (float)lightMap->getHeight();
    float tx = textureWidth / sceneWidth * std::max(0.0f, x);
    float ty = textureHeight / (float)screenHeight * std::max(0.0f, y);
    // The last pixel is the edge: sampling never reads past it.
    tx = std::min(tx, textureWidth - 1);
    ty = std::min(ty, textureHeight - 1);
    return lightMap->getInterpolatedPixel(tx, ty);
}

void Scene::collectTextures(nimboui::Object* object, std::vector<nimboui::Texture*>& textures) {
    if (auto* box = dynamic_cast<nimboui::ImageBox*>(object)) {
        nimboui::Image* image = box->getImage();
        nimboui::Texture* texture = image ? image->getTexture() : nullptr;
        if (texture && std::find(textures.begin(), textures.end(), texture) == textures.end()) {
            textures.push_back(texture);
        }
    }
    for (nimboui::Object* child : object->getChildren()) {
        collectTextures(child, textures);
    }
}
