#pragma once
// The jobs characters run in their actors' queues.

#include "marionix/Actor.h"
#include "morvec/CatmullRomSpline3.h"
#include "morvec/Vector.h"
#include "vessot/String.h"

#include <memory>

using vessot::String;

class Action;
class Chapter;

namespace Actions {
class SwitchScene;
}

namespace lba {
class Map;
}

namespace ZephJobs {

// The GUI object name of the character whose CallAction job is running its named action; ""
// otherwise. A character command started from that job adds its jobs behind it instead of clearing.
extern String callingCharacter;

// The walk map to plan on: the empty map when none is set, else the map of the active scene's first
// LBAMap object (the empty map when there is none).
const lba::Map& getWalkMap(bool none);

// Walks to a point along the shortest path, smoothed into a spline, at the actor's speed. A path
// of fewer than two distinct points is no walk.
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
    // The spline's length; 0 without a spline.
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

// Runs a named action of the chapter whose file held the job (else of the active scene's chapter),
// with callingCharacter naming the character that runs the job.
class CallAction : public SimpleJob {
public:
    CallAction(const String& actionName, Chapter* owner) : actionName(actionName), owner(owner) {}
    Marionix::Job* clone() const override { return new CallAction(actionName, owner); }
    String getTypeName() const override { return "CallAction"; }
    void start() override;
    const String& getActionName() const { return actionName; }
    Chapter* getOwner() const { return owner; }

private:
    String actionName;
    Chapter* owner;
};

// Speaks the wrapped say action's line as the speaker (a name, or "$variable"); unless nowait, the
// job lasts as long as the line.
class Say : public ActionWrapper {
public:
    Say(const String& speaker, Action* action, const String& condition, bool nowait)
        : ActionWrapper(action, condition), nowait(nowait), speaker(speaker) {}
    Marionix::Job* clone() const override;
    String getTypeName() const override { return "Say"; }
    void start() override;
    void update(float dt) override;
    bool isDone() override;
    // Ends the line on screen, unless the job does not wait for it.
    void cancel() override;
    const String& getSpeaker() const { return speaker; }
    bool isNowait() const { return nowait; }

private:
    // The speaker's name, read from its variable when written as "$variable".
    String speakerName() const;

    float countdown = 0.0f;
    bool nowait;
    String speaker;
};

// Runs a dialog until its panel closes.
class Dialog : public SimpleJob {
public:
    explicit Dialog(const String& dialogName) : dialogName(dialogName) {}
    Marionix::Job* clone() const override { return new Dialog(dialogName); }
    String getTypeName() const override { return "Dialog"; }
    void start() override;
    bool isDone() override;
    const String& getDialogName() const { return dialogName; }

private:
    String dialogName;
};

// Waits a number of seconds.
class Pause : public SimpleJob {
public:
    explicit Pause(float seconds) : duration(seconds), remaining(seconds) {}
    // A fresh pause of the same duration, its job flag clear.
    Marionix::Job* clone() const override { return new Pause(duration); }
    String getTypeName() const override { return "Pause"; }
    void start() override;
    void update(float dt) override;
    bool isDone() override { return remaining <= 0.0f; }
    // How far the pause ran past its end.
    float calcOvertime() override { return -remaining; }
    float getDuration() const { return duration; }
    float getRemaining() const { return remaining; }

private:
    float duration;
    float remaining;
};

// Turns the character to a direction ("N" ... "NW").
class SetOrientation : public SimpleJob {
public:
    explicit SetOrientation(const String& direction) : direction(direction) {}
    Marionix::Job* clone() const override { return new SetOrientation(direction); }
    String getTypeName() const override { return "SetOrientation"; }
    // A job of an actor that is no character is an error.
    void start() override;
    const String& getDirection() const { return direction; }

private:
    String direction;
};

// Plays a sound of the active scene's chapter; with wait, lasts while it plays.
class PlaySoundW : public SimpleJob {
public:
    PlaySoundW(const String& soundName, bool wait) : soundName(soundName), wait(wait) {}
    Marionix::Job* clone() const override { return new PlaySoundW(soundName, wait); }
    String getTypeName() const override { return "PlaySound"; }
    void start() override;
    bool isDone() override;
    const String& getSoundName() const { return soundName; }
    bool isWaiting() const { return wait; }

private:
    String soundName;
    bool wait;
};

// Queues a scene switch and places the character once the target scene is active. A job whose
// condition fails does nothing; one whose switch did not happen gives up once nothing is left that
// could still bring the target scene.
class SwitchScene : public ActionWrapper {
public:
    SwitchScene(Actions::SwitchScene* action, const String& condition, const String& position);
    Marionix::Job* clone() const override;
    String getTypeName() const override { return "SwitchScene"; }
    void start() override;
    void update(float dt) override;
    bool isDone() override { return arrived; }
    // The target as chapter name, "." and scene name.
    String getTargetScene() const;
    const String& getPosition() const { return position; }

private:
    bool arrived = false;
    String position;
    // The target as the start resolved it.
    String target;
};

} // namespace ZephJobs
