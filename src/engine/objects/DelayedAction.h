#pragma once
// An animator that runs its actions once, "time" seconds after its scene attached it: every action
// whose condition holds, in order. Attaching it again re-arms it. Without "time" it never fires.

#include "nimboui/Object.h"

#include <utility>
#include <vector>

class Action;

namespace Animators {

class DelayedAction : public nimboui::Object {
public:
    explicit DelayedAction(const vessot::String& name);
    ~DelayedAction() override;

    // Appends the action with its condition ("" always holds); the object owns the action.
    void setAction(Action* action, const vessot::String& condition);

    // Only "AttachToObject" matters: it re-arms the delay.
    void notifyEvent(const vessot::String& event, void* params) override;
    void update(float dt) override;
    // "time"; every other name is ignored.
    bool setProperty(const vessot::String& name, const vessot::String& value) override;

private:
    float mElapsed = 0.0f;
    float mDelay = 0.0f;
    std::vector<std::pair<vessot::String, Action*>> mActions;
};

} // namespace Animators
