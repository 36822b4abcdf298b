#include "script/ZephJobs.h"

#include "engine/objects/LBAMap.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/Actions.h"
#include "script/Characters.h"

#include "nimboui/ImageBox.h"
#include "trailex/Map.h"

namespace ZephJobs {

String callingCharacter;

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
    const lba::Map& map = getWalkMap(ignoreWalkMap);
    morvec::Vector3 position = getActor()->getPosition();
    vessot::Array<morvec::Vector2> path = map.findPath(morvec::Vector2(position.x, position.y), target);
    if (path.size() < 2) {
        return;
    }
    String depth = Session::activeScene ? Session::activeScene->getProperty("walk_depth_factor") : String();
    float k = depth.empty() ? 1.0f : depth.toFloat();
    vessot::Array<morvec::Vector3> points;
    for (const morvec::Vector2& p : path) {
        float scale = Session::activeScene ? Session::activeScene->getDepthScale(p.y) : 0.0f;
        points.add(morvec::Vector3(p.x, p.y, scale * k));
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
}

Marionix::Job* Say::clone() const {
    return new Say(speaker, action->clone(), condition, nowait);
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
    String target = getTargetScene();
    if (!target.startsWith("ui.")) {
        Vars::get(getActor()->getName() + "_scene")->setValue(target, false);
    }
    if (position.empty()) {
        arrived = true;
    }
    ActionWrapper::start();
}

void SwitchScene::update(float) {
    if (!arrived && Session::activeScene && Session::activeScene->getFullName() == getTargetScene()) {
        Characters::placeCharacter(getActor(), position);
        arrived = true;
    }
}

bool SwitchScene::isDone() {
    if (arrived) {
        arrived = false;
        return true;
    }
    return false;
}

} // namespace ZephJobs
