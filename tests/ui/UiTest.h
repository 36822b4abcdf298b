#pragma once
// What the interface's tests share: the running game, interface objects by name and class, their
// centres in interface units, and named actions that record their runs.

#include "engine/RunningGame.h"

#include "script/Action.h"
#include "ui/Hud.h"

#include <string>
#include <vector>

// Every run of a recording action, by the name it was given.
inline std::vector<std::string> recordedRuns;

class RecordingAction : public Action {
public:
    explicit RecordingAction(const vessot::String& name) : name(name) {}
    void execute() override { recordedRuns.push_back(name); }
    Action* clone() override { return finishClone(new RecordingAction(name)); }
    vessot::String getTypeName() const override { return "Recording"; }

private:
    vessot::String name;
};

// Puts a recording action in place of the chapter's named action of that name (or adds one); it
// records chapter + "." + name.
inline void recordNamedAction(Chapter* chapter, const char* name) {
    Action*& slot = chapter->namedActions[name];
    delete slot;
    slot = new RecordingAction(chapter->getName() + "." + name);
}

template <class T = nimboui::Object> T* ui(const vessot::String& name) {
    return Hud::uiObjectOf<T>(name);
}

// The centre of an object, in the space of its root (interface units for the "ui" objects, scene
// units for a scene's).
inline morvec::Vector2 centreOf(const vessot::String& name) {
    return GameHarness::centreOf(ui(name));
}
