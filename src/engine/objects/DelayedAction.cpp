#include "engine/objects/DelayedAction.h"

#include "engine/app/Lifetime.h"
#include "engine/session/Session.h"
#include "script/Action.h"

namespace Animators {

DelayedAction::DelayedAction(const vessot::String& name)
    : nimboui::Object("Animators::DelayedAction", name, morvec::Rectangle(0, 0, 1, 1)) {}

// An action may unload the chapter that owns this object while it runs (an immediate switch to
// another chapter): the actions then outlive the object until the engine's callback returns.
DelayedAction::~DelayedAction() {
    for (auto& [condition, action] : mActions) {
        Lifetime::retire(action);
    }
}

void DelayedAction::setAction(Action* action, const vessot::String& condition) {
    mActions.emplace_back(condition, action);
}

void DelayedAction::notifyEvent(const vessot::String& event, void*) {
    if (event == "AttachToObject") {
        mElapsed = 0.0f;
    }
}

void DelayedAction::update(float dt) {
    if (mElapsed >= mDelay) {
        return;
    }
    mElapsed += dt;
    if (mElapsed < mDelay) {
        return;
    }
    const Handle self = handle();
    for (size_t i = 0; i < mActions.size(); ++i) {
        if (Session::checkCondition(mActions[i].first)) {
            mActions[i].second->execute();
            if (!self.alive()) {
                return;
            }
        }
    }
}

bool DelayedAction::setProperty(const vessot::String& name, const vessot::String& value) {
    if (name == "time") {
        mDelay = value.toFloat();
    }
    return true;
}

} // namespace Animators
