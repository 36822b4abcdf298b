#pragma once
// Scene transitions. A transition runs from Session::switchScene until its update reports the end;
// it performs the switch itself (TransitionManager::switchScene) at its chosen moment.

#include "vessot/String.h"

using vessot::String;

class TransitionManager {
public:
    using DrawCallback = void (*)();

    virtual ~TransitionManager() = default;
    virtual void begin(const String& target, float duration, const String& ignored);
    // Advances; true while the transition still runs.
    virtual bool update(float step);
    // Draws the frame while the transition runs; the callback draws the interface.
    virtual void draw(DrawCallback callback) = 0;

    // The switch itself: resolves the chapter, loads and unloads chapters behind the loading
    // picture, and activates the new scene.
    void switchScene();

    String targetScene;
    float duration = 0.0f;
    float elapsed = 0.0f;
    bool justSwitched = false;
};

namespace Transitions {

// Switches inside begin.
class Immediate : public TransitionManager {
public:
    void begin(const String& target, float duration, const String& ignored) override;
    bool update(float) override { return false; }
    void draw(DrawCallback callback) override;
};

// Darkens to black, switches at the darkest moment and brightens again.
class Fade : public TransitionManager {
public:
    bool update(float step) override;
    void draw(DrawCallback callback) override;
    // 0 at both ends, 1 at half the duration.
    float darkness() const;
};

} // namespace Transitions
