#pragma once
// Objects that animate their parent: its position, its size or its alpha. They have no area,
// draw nothing and never take the pointer. Each lands exactly on its target when its time is up.

#include "nimboui/Object.h"

namespace nimboui::Animators {

// Common timing: a run from a start value to a target over a time, after a delay.
class Animator : public Object {
public:
    bool isPointInside(float, float) override { return false; }
    bool isPointInside(const morvec::Vector2&) override { return false; }
    void update(float dt) override;
    // A running animation (or its delay) ends at its target at once; an animation the
    // definition started runs again from its start.
    void reset() override;
    // "time", "delay", then the subclass's own, then Object's.
    bool setProperty(const String& name, const String& value) override;
    bool isRunning() const { return running; }

protected:
    Animator(const String& typeName, const String& name);
    // Starts a run: the start values are read from the parent when the delay is over.
    void start(float time, float delay);
    // Starts the run that the definition asked for, when it asked for one.
    void startDefined();
    virtual void readStart() = 0;
    // Applies progress t from 0 to 1 to the parent; t 1 puts the target exactly.
    virtual void apply(float t) = 0;
    void finish();

    float duration = 0.0f;
    float delay = 0.0f;
    float elapsed = 0.0f;
    bool running = false;
    bool started = false;
    // The definition set a target: the run starts when the definition is read, and on reset.
    bool defined = false;
};

class Mover : public Animator {
public:
    explicit Mover(const String& name);
    // "to_x", "to_y" (the definition's target, starting the run), then Animator's.
    bool setProperty(const String& name, const String& value) override;
    // Moves the parent from where it is to (x, y) over time seconds.
    void move(float x, float y, float time, float delay = 0.0f);

protected:
    void readStart() override;
    void apply(float t) override;

private:
    morvec::Vector2 from;
    morvec::Vector2 to;
};

class Scaler : public Animator {
public:
    explicit Scaler(const String& name);
    // "to_w", "to_h" (the definition's target, starting the run), then Animator's.
    bool setProperty(const String& name, const String& value) override;
    // Resizes the parent to w x h over time seconds.
    void scale(float w, float h, float time, float delay = 0.0f);

protected:
    void readStart() override;
    void apply(float t) override;

private:
    morvec::Vector2 from;
    morvec::Vector2 to;
};

class AlphaFader : public Animator {
public:
    explicit AlphaFader(const String& name);
    // "from" (the parent's alpha when the defined run starts), "to" (the definition's target,
    // starting the run), then Animator's.
    bool setProperty(const String& name, const String& value) override;
    // Fades the parent's alpha to alpha over time seconds, after delay seconds.
    void fade(float alpha, float time, float delay = 0.0f);

protected:
    void readStart() override;
    void apply(float t) override;

private:
    float from = 0.0f;
    float to = 1.0f;
    // The definition's "from", or a negative value to start from the parent's alpha.
    float definedFrom = -1.0f;
};

} // namespace nimboui::Animators
