#pragma once
// Objects that animate their parent: its position, its size or its alpha. They have no area,
// draw nothing and never take the pointer. Each lands exactly on its target when its time is up.
//
// A definition may start a run by itself by giving a target ("to_x"/"to_y", "to_w"/"to_h",
// "to" with an optional "from"), with "time" and "delay": it starts at the first update, and
// again at the first update after each reset.

#include "nimboui/Object.h"

namespace nimboui::Animators {

class Animator : public Object {
public:
    bool isPointInside(float, float) override { return false; }
    bool isPointInside(const morvec::Vector2&) override { return false; }
    void update(float dt) override;
    // A running animation (or its delay) ends at its target at once; an animation the
    // definition started runs again.
    void reset() override;
    // "time", "delay", then the subclass's own, then Object's.
    bool setProperty(const String& name, const String& value) override;
    bool isRunning() const { return running; }

protected:
    Animator(const String& typeName, const String& name);
    // Starts a run; the start values are read from the parent when the delay is over.
    void start(float time, float delay, bool fromDefinition);
    // Marks the definition's run to start at the next update.
    void defineRun() { definedPending = defined = true; }
    // Reads the start (and, for the definition's run, the target) from the parent.
    virtual void readStart(Object& target, bool fromDefinition) = 0;
    // Applies progress t from 0 to 1 to the parent; t 1 puts the target exactly.
    virtual void apply(Object& target, float t) = 0;

private:
    void begin();
    void finish();

    float duration = 0.0f;
    float delayLeft = 0.0f;
    float elapsed = 0.0f;
    bool running = false;
    bool begun = false;
    bool runIsDefined = false;
    float definedTime = 0.0f;
    float definedDelay = 0.0f;
    bool defined = false;
    bool definedPending = false;
};

class Mover : public Animator {
public:
    explicit Mover(const String& name);
    // "to_x", "to_y", then Animator's.
    bool setProperty(const String& name, const String& value) override;
    // Moves the parent from where it is to (x, y) over time seconds.
    void move(float x, float y, float time, float delay = 0.0f);

protected:
    void readStart(Object& target, bool fromDefinition) override;
    void apply(Object& target, float t) override;

private:
    morvec::Vector2 from;
    morvec::Vector2 to;
    // The definition's target; a coordinate it does not give stays where the parent is.
    morvec::Vector2 definedTo;
    bool definesX = false;
    bool definesY = false;
};

class Scaler : public Animator {
public:
    explicit Scaler(const String& name);
    // "to_w", "to_h", then Animator's.
    bool setProperty(const String& name, const String& value) override;
    // Resizes the parent to w x h over time seconds.
    void scale(float w, float h, float time, float delay = 0.0f);

protected:
    void readStart(Object& target, bool fromDefinition) override;
    void apply(Object& target, float t) override;

private:
    morvec::Vector2 from;
    morvec::Vector2 to;
    morvec::Vector2 definedTo;
    bool definesW = false;
    bool definesH = false;
};

class AlphaFader : public Animator {
public:
    explicit AlphaFader(const String& name);
    // "to", "from" (the parent's alpha when the definition's run starts), then Animator's.
    bool setProperty(const String& name, const String& value) override;
    // Fades the parent's alpha to alpha over time seconds, after delay seconds.
    void fade(float alpha, float time, float delay = 0.0f);

protected:
    void readStart(Object& target, bool fromDefinition) override;
    void apply(Object& target, float t) override;

private:
    float from = 0.0f;
    float to = 1.0f;
    float definedTo = 1.0f;
    float definedFrom = 0.0f;
    bool definesFrom = false;
};

} // namespace nimboui::Animators
