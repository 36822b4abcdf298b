#include "engine/objects/DelayedCommand.h"

#include "engine/session/Session.h"

#include "vessot/Log.h"

namespace Animators {

DelayedCommand::DelayedCommand(const vessot::String& name)
    : nimboui::Object("Animators::DelayedCommand", name, morvec::Rectangle(0, 0, 1, 1)) {}

void DelayedCommand::notifyEvent(const vessot::String& event, void* params) {
    mElapsed = 0.0f;
    nimboui::Object::notifyEvent(event, params);
}

void DelayedCommand::update(float dt) {
    if (!mTimed) {
        if (!mReportedUntimed) {
            mReportedUntimed = true;
            vessot::Log::warn("zeph", "delayed command '" + getName() + "' has no 'time' and never runs");
        }
        return;
    }
    mElapsed += dt;
    if (mElapsed > mDelay) {
        mElapsed = 0.0f;
        Session::queueCommand(mCommand);
    }
}

bool DelayedCommand::setProperty(const vessot::String& name, const vessot::String& value) {
    if (name == "time") {
        mDelay = value.toFloat();
        mTimed = true;
    } else if (name == "cmd") {
        mCommand = value;
    }
    return true;
}

} // namespace Animators
