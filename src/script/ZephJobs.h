#pragma once
// The jobs characters run in their actors' queues.

#include "marionix/Actor.h"
#include "morvec/CatmullRomSpline3.h"
#include "morvec/Vector.h"
#include "vessot/String.h"

#include <memory>

using vessot::String;

class Action;

namespace Actions {
class SwitchScene;
}

namespace lba {
class Map;
}

namespace ZephJobs {

// The walk map to plan on: the empty map when none is set, else the map of the active scene's first
// LBAMap object (the empty map when there is none).
const lba::Map& getWalkMap(bool none);

// Walks to a point along the shortest path, smoothed into a spline.
class SplineMove : public Marionix::Job {
public:
    SplineMove(const String& tag, bool ignoreWalkMap, float x, float y);
    Marionix::Job* clone() const override;
    void update(float dt) override;
    bool isDone() override;
    String getTypeName() const override { return "Move"; }
    void start() override;

    // Where the walk ends (the spline at 0.9999); (0, 0) without a path.
    morvec::Vector2 getDestination() const;
    double getLength() const { return spline ? spline->getLength() : 0.0; }
    const morvec::Vector2& getTarget() const { return target; }

private:
    morvec::Vector2 target;
    String tag;
    bool ignoreWalkMap;
    std::unique_ptr<morvec::CatmullRomSpline3> spline;
    double progress = 0.0;
    double factor = 0.0;
};

// A job that ends on its first update after its start.
class SimpleJob : public Marionix::Job {
public:
    void update(float dt) override;
    bool isDone() override { return flag; }
};

// Runs an action when it starts, if its condition holds.
class ActionWrapper : public SimpleJob {
public:
    ActionWrapper(Action* action, const String& condition);
    ~ActionWrapper() override;
    Marionix::Job* clone() const override;
    String getTypeName() const override;
    void start() override;
    Action* getAction() const { return action; }

protected:
    String condition;
    Action* action;
};

// Queues a scene switch and places the character once the target scene is active.
class SwitchScene : public ActionWrapper {
public:
    SwitchScene(Actions::SwitchScene* action, const String& condition, const String& position);
    Marionix::Job* clone() const override;
    String getTypeName() const override { return "SwitchScene"; }
    void start() override;
    void update(float dt) override;
    bool isDone() override;
    // The target as chapter name, "." and scene name.
    String getTargetScene() const;
    const String& getPosition() const { return position; }

private:
    bool arrived = false;
    String position;
};

} // namespace ZephJobs
