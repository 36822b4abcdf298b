#pragma once
// An animator that queues its command "cmd" every "time" seconds for as long as its scene shows
// it; any event delivered to it restarts the count. Without "time" it never fires.

#include "nimboui/Object.h"

namespace Animators {

class DelayedCommand : public nimboui::Object {
public:
    explicit DelayedCommand(const vessot::String& name);

    void notifyEvent(const vessot::String& event, void* params) override;
    void update(float dt) override;
    // "time" and "cmd"; every other name is ignored.
    bool setProperty(const vessot::String& name, const vessot::String& value) override;

private:
    float mElapsed = 0.0f;
    float mDelay = 0.0f;
    vessot::String mCommand;
    // A delay of 0 would queue every frame: an object without "time" stays quiet and says so once.
    bool mTimed = false;
    bool mReportedUntimed = false;
};

} // namespace Animators
