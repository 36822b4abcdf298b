#pragma once
// The action classes.

#include "script/Action.h"

namespace Actions {

// Runs the named action of a chapter ("chapter.name", or a name of the owner's chapter).
class Reference : public Action {
public:
    explicit Reference(const String& ref) : ref(ref) {}
    void execute() override;
    Action* clone() override { return finishClone(new Reference(ref)); }
    String getTypeName() const override { return "Reference"; }
    // The action the reference names.
    Action* getAction() const;

private:
    String ref;
};

// Queues a scene switch with a transition.
class SwitchScene : public Action {
public:
    SwitchScene(float fadeTime, const String& scene, const String& effect, const String& params);
    void execute() override;
    Action* clone() override { return finishClone(new SwitchScene(fadeTime, scene, effect, params)); }
    String getTypeName() const override { return "SwitchScene"; }
    // The target as chapter name, "." and scene name.
    String getFullSceneName() const;

private:
    float fadeTime;
    String scene;
    String effect;
    String params;
};

// Runs a command string at once.
class Execute : public Action {
public:
    explicit Execute(const String& command) : command(command) {}
    void execute() override;
    Action* clone() override { return finishClone(new Execute(command)); }
    String getTypeName() const override { return "Execute"; }

private:
    String command;
};

// An action of a type whose behaviour this build does not provide. It keeps its type, rollover key
// and owner, so scene files load and hotspots bind it; executing it logs that it did nothing.
class Unavailable : public Action {
public:
    explicit Unavailable(const String& type) : type(type) {}
    void execute() override;
    Action* clone() override { return finishClone(new Unavailable(type)); }
    String getTypeName() const override { return type; }

private:
    String type;
};

// Clears the reset flag of a variable action, so that it queues no "reset_scene" (the fast scene
// switch runs such actions ahead of their time).
void clearResetFlag(Action* action);

} // namespace Actions
