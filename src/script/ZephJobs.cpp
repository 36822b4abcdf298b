#include "script/ZephJobs.h"

#include "engine/InterfaceServices.h"
#include "engine/objects/LBAMap.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/TransitionManager.h"
#include "engine/session/Vars.h"
#include "script/Actions.h"
#include "script/Character2D.h"
#include "script/Characters.h"
#include "script/DialogManager.h"
#include "script/Speech.h"

#include "echon/AudioManager.h"
#include "nimboui/Exception.h"
#include "trailex/Map.h"

#include <algorithm>

namespace ZephJobs {

String callingCharacter;

namespace {

// The GUI object name of the character that runs the job; a plain actor's own name.
String characterName(Marionix::Actor* actor) {
    auto* character = dynamic_cast<Character2D*>(actor);
    return character ? character->nimboui::Object::getName() : actor->getName();
}

// The sound's full name in the active scene's chapter.
String fullSoundName(const String& sound) {
    return Session::activeScene ? Session::activeScene->chapter->getFullSoundName(sound) : sound;
}

} // namespace

const lba::Map& getWalkMap(bool none) {
    static const lba::Map empty;
    if (none || !Session::activeScene || !Session::activeScene->root) {
        return empty;
    }
    for (nimboui::Object* child : Session::activeScene->root->getChildren()) {
        if (auto* walk = dynamic_cast<LBAMap*>(child)) {
            return walk->getMap() ? *walk->getMap() : empty;
        }
    }
    return empty;
}

// ---------------------------------------------------------------- walking

SplineMove::SplineMove(const String& tag, bool ignoreWalkMap, float x, float y)
    : target(x, y), tag(tag), ignoreWalkMap(ignoreWalkMap) {}

Marionix::Job* SplineMove::clone() const {
    return new SplineMove(tag, ignoreWalkMap, target.x, target.y);
}

void SplineMove::start() {
    spline.reset();
    progress = 0.0;
    factor = 0.0;
    const lba::Map& map = getWalkMap(ignoreWalkMap);
    morvec::Vector3 position = getActor()->getPosition();
    vessot::Array<morvec::Vector2> path = map.findPath(morvec::Vector2(position.x, position.y), target);
    String depth = Session::activeScene ? Session::activeScene->getProperty("walk_depth_factor") : String();
    float k = depth.empty() ? 1.0f : depth.toFloat();
    // The depth is the third coordinate, so a walk into the depth is longer. A point repeating the one
    // before it would give the spline no direction there.
    vessot::Array<morvec::Vector3> points;
    for (const morvec::Vector2& p : path) {
        if (!points.empty() && points[-1].x == p.x && points[-1].y == p.y) {
            continue;
        }
        float scale = Session::activeScene ? Session::activeScene->getDepthScale(p.y) : 0.0f;
        points.add(morvec::Vector3(p.x, p.y, scale * k));
    }
    if (points.size() < 2) {
        return;
    }
    spline = std::make_unique<morvec::CatmullRomSpline3>();
    spline->compile(points, 0, points[1] - points[0], points[-1] - points[-2]);
    progress = 0.0;
    float length = (float)spline->getLength();
    factor = length > 1.0f ? 1.0 / length : 0.0;
    flag = true;
}

void SplineMove::update(float dt) {
    if (!spline || factor <= 0.0) {
        return;
    }
    float travelled = getActor()->getSpeed() * dt;
    progress = std::min(1.0, progress + travelled * factor);
    morvec::Vector3 p = spline->calcPosition(progress * 0.9999);
    getActor()->setPosition(p.x, p.y, 0.0f);
    if (progress < 0.95) {
        morvec::Vector3 t = spline->calcStaticTangent(progress * 0.9999);
        getActor()->setDirection(t.x, t.y, 0.0f);
    }
}

bool SplineMove::isDone() {
    return factor == 0.0 || !spline || progress >= 1.0;
}

morvec::Vector2 SplineMove::getDestination() const {
    if (!spline) {
        return morvec::Vector2();
    }
    morvec::Vector3 p = spline->calcPosition(0.9999);
    return morvec::Vector2(p.x, p.y);
}

// ---------------------------------------------------------------- actions

void SimpleJob::update(float) {
    flag = true;
}

ActionWrapper::ActionWrapper(Action* action, const String& condition) : condition(condition), action(action) {}

ActionWrapper::~ActionWrapper() {
    delete action;
}

Marionix::Job* ActionWrapper::clone() const {
    return new ActionWrapper(action->clone(), condition);
}

String ActionWrapper::getTypeName() const {
    return "ActionWrapper: " + action->getTypeName();
}

void ActionWrapper::start() {
    if (Session::checkCondition(condition)) {
        action->execute();
    }
    flag = true;
}

namespace {

// Names the character whose CallAction runs for as long as it runs, then puts back who ran before:
// calls nest, and an exception leaves the name right.
class CallingCharacter {
public:
    explicit CallingCharacter(const String& name) : previous(callingCharacter) { callingCharacter = name; }
    ~CallingCharacter() { callingCharacter = previous; }
    CallingCharacter(const CallingCharacter&) = delete;
    CallingCharacter& operator=(const CallingCharacter&) = delete;

private:
    String previous;
};

// The named action of the chapter, or null when it has none.
Action* findNamedAction(Chapter* chapter, const String& name) {
    if (!chapter) {
        return nullptr;
    }
    try {
        return chapter->getNamedAction(name);
    } catch (const nimboui::_GenericException&) {
        return nullptr;
    }
}

} // namespace

void CallAction::start() {
    Action* action = findNamedAction(owner, actionName);
    if (!action && Session::activeScene) {
        action = findNamedAction(Session::activeScene->chapter, actionName);
    }
    if (!action) {
        throw nimboui::_GenericException("ZephJobs::CallAction: Action '" + actionName + "' not found!",
                                         "GenericException", __FILE__, __LINE__);
    }
    CallingCharacter calling(characterName(getActor()));
    action->execute();
}

Marionix::Job* Say::clone() const {
    return new Say(speaker, action->clone(), condition, nowait);
}

String Say::speakerName() const {
    return speaker.startsWith("$") ? Vars::value(speaker.substr(1, 100)) : speaker;
}

void Say::start() {
    auto* line = dynamic_cast<Actions::Say*>(action);
    if (line) {
        line->setPrefix("{ " + speakerName() + " }");
    }
    countdown = 0.0f;
    if (Session::checkCondition(condition)) {
        action->execute();
        if (line) {
            countdown = Session::getTextPauseTime(line->getText());
        }
    }
    flag = true;
}

void Say::update(float dt) {
    countdown -= dt;
}

bool Say::isDone() {
    return nowait || countdown <= 0.0f;
}

void Say::cancel() {
    if (!nowait) {
        Speech::cutLine(speakerName());
    }
}

void Dialog::start() {
    DialogManager::start(dialogName);
    DialogManager::show();
}

bool Dialog::isDone() {
    return !DialogPanel::isOpen();
}

void Pause::start() {
    remaining = duration;
    flag = true;
}

void Pause::update(float dt) {
    remaining -= dt;
}

void SetOrientation::start() {
    auto* character = dynamic_cast<Character2D*>(getActor());
    if (!character) {
        throw nimboui::_GenericException("Can't set orientation, actor isn't a Character2D instance",
                                         "GenericException", __FILE__, __LINE__);
    }
    character->setOrientation(direction);
}

void PlaySoundW::start() {
    Session::log("playing sound: " + soundName);
    echon::mgr->play(fullSoundName(soundName), 0.0f, false, 1.0f);
}

bool PlaySoundW::isDone() {
    return !wait || !echon::mgr->isAnyPlaying(fullSoundName(soundName));
}

SwitchScene::SwitchScene(Actions::SwitchScene* action, const String& condition, const String& position)
    : ActionWrapper(action, condition), position(position) {}

Marionix::Job* SwitchScene::clone() const {
    return new SwitchScene(static_cast<Actions::SwitchScene*>(action->clone()), condition, position);
}

String SwitchScene::getTargetScene() const {
    return static_cast<Actions::SwitchScene*>(action)->getFullSceneName();
}

void SwitchScene::start() {
    if (!Session::checkCondition(condition)) {
        arrived = true;
        return;
    }
    target = getTargetScene();
    if (!target.startsWith("ui.")) {
        Characters::getOrCreateVariable(characterName(getActor()) + "_scene")->setValue(target);
    }
    if (position.empty()) {
        arrived = true;
    }
    ActionWrapper::start();
}

namespace {

bool isSwitchQueued() {
    for (const String& command : Session::commandQueue) {
        if (command.contains("switch_scene")) {
            return true;
        }
    }
    return false;
}

} // namespace

void SwitchScene::update(float) {
    if (arrived) {
        return;
    }
    if (Session::activeScene && Session::activeScene->getFullName() == target) {
        Characters::placeCharacter(getActor(), position);
        arrived = true;
    } else if (!Session::activeTransition && !isSwitchQueued()) {
        // The switch was refused or went elsewhere: waiting on would keep the character busy for good.
        Session::log("SwitchScene job of " + characterName(getActor()) + ": no switch to " + target +
                     " under way, the job ends");
        arrived = true;
    }
}

} // namespace ZephJobs
