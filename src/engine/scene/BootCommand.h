#pragma once
// Commands a scene runs each time it becomes active, each under a condition: they bind hotspot
// actions, attach objects, queue music and run commands, so the variables alone decide how a
// scene looks and behaves on entry.

#include "morvec/Vector.h"
#include "vessot/String.h"

#include <cstdint>

using vessot::String;

class Action;
class Scene;

namespace nimboui {
class Object;
}

class BootCommand {
public:
    explicit BootCommand(const String& condition) : condition(condition) {}
    virtual ~BootCommand() = default;
    virtual void execute(Scene* scene) = 0;

    String condition;
};

// Binds an action to a hotspot area id.
class BootCommand_ActionSet : public BootCommand {
public:
    BootCommand_ActionSet(const String& condition, uint32_t areaId, Action* action)
        : BootCommand(condition), areaId(areaId), action(action) {}
    ~BootCommand_ActionSet() override;
    void execute(Scene* scene) override;

    uint32_t areaId;
    Action* action;
};

// Runs an action.
class BootCommand_ExecuteAction : public BootCommand {
public:
    BootCommand_ExecuteAction(const String& condition, Action* action) : BootCommand(condition), action(action) {}
    ~BootCommand_ExecuteAction() override;
    void execute(Scene* scene) override;

    Action* action;
};

// Runs a command string at once.
class BootCommand_ExecuteCommand : public BootCommand {
public:
    BootCommand_ExecuteCommand(const String& condition, const String& command)
        : BootCommand(condition), command(command) {}
    void execute(Scene* scene) override;

    String command;
};

// Queues a sound of the chapter on the music queue ("DONT_CHANGE" keeps the music that plays).
class BootCommand_PlayAudioStream : public BootCommand {
public:
    BootCommand_PlayAudioStream(const String& condition, const String& source)
        : BootCommand(condition), source(source) {}
    void execute(Scene* scene) override;

    String source;
};

// Attaches an object of the chapter to the scene's root, restoring the state it had when the
// scene file was read.
class BootCommand_AttachObject : public BootCommand {
public:
    BootCommand_AttachObject(const String& condition, nimboui::Object* object);
    void execute(Scene* scene) override;

    bool savedVisible;
    morvec::Vector2 savedPosition;
    float savedWidth;
    float savedHeight;
    float savedAlpha;
    nimboui::Object* object;
};
