#include "nimboui/Animators.h"

namespace nimboui::Animators {

namespace {

// Time steps add up with rounding errors (a hundred steps of 0.01 s make slightly less than a
// second): a run whose time is up within this margin ends on that step.
constexpr float TIME_MARGIN = 1e-4f;

float lerp(float a, float b, float t) {
    return a + (b - a) * t;
}

} // namespace

Animator::Animator(const String& typeName, const String& name) : Object(typeName, name, morvec::Rectangle()) {}

bool Animator::setProperty(const String& property, const String& value) {
    if (property == "time") {
        definedTime = value.toFloat();
    } else if (property == "delay") {
        definedDelay = value.toFloat();
    } else {
        return Object::setProperty(property, value);
    }
    return true;
}

void Animator::start(float time, float delay, bool fromDefinition) {
    duration = time;
    delayLeft = delay;
    elapsed = 0.0f;
    running = true;
    begun = false;
    runIsDefined = fromDefinition;
    if (delayLeft <= 0.0f && duration <= 0.0f && getParent()) {
        begin();
        finish();
    }
}

void Animator::begin() {
    begun = true;
    readStart(*getParent(), runIsDefined);
}

void Animator::finish() {
    running = false;
    if (begun && getParent()) {
        apply(*getParent(), 1.0f);
    }
}

void Animator::update(float dt) {
    if (definedPending) {
        definedPending = false;
        start(definedTime, definedDelay, true);
    }
    if (running && getParent()) {
        float step = dt;
        if (!begun) {
            delayLeft -= step;
            step = delayLeft < 0.0f ? -delayLeft : 0.0f;
            if (delayLeft <= TIME_MARGIN) {
                begin();
            }
        }
        if (begun) {
            elapsed += step;
            if (elapsed + TIME_MARGIN >= duration) {
                finish();
            } else {
                apply(*getParent(), elapsed / duration);
            }
        }
    }
    Object::update(dt);
}

void Animator::reset() {
    if (running) {
        if (!begun && getParent()) {
            begin();
        }
        finish();
    }
    definedPending = defined;
    Object::reset();
}

Mover::Mover(const String& name) : Animator("Animators::Mover", name) {}

bool Mover::setProperty(const String& property, const String& value) {
    if (property == "to_x") {
        definedTo.x = value.toFloat();
        definesX = true;
        defineRun();
    } else if (property == "to_y") {
        definedTo.y = value.toFloat();
        definesY = true;
        defineRun();
    } else {
        return Animator::setProperty(property, value);
    }
    return true;
}

void Mover::move(float x, float y, float time, float delay) {
    to = {x, y};
    start(time, delay, false);
}

void Mover::readStart(Object& target, bool fromDefinition) {
    from = target.getPosition();
    if (fromDefinition) {
        to = {definesX ? definedTo.x : from.x, definesY ? definedTo.y : from.y};
    }
}

void Mover::apply(Object& target, float t) {
    target.setPosition(t >= 1.0f ? to : morvec::Vector2(lerp(from.x, to.x, t), lerp(from.y, to.y, t)));
}

Scaler::Scaler(const String& name) : Animator("Animators::Scaler", name) {}

bool Scaler::setProperty(const String& property, const String& value) {
    if (property == "to_w") {
        definedTo.x = value.toFloat();
        definesW = true;
        defineRun();
    } else if (property == "to_h") {
        definedTo.y = value.toFloat();
        definesH = true;
        defineRun();
    } else {
        return Animator::setProperty(property, value);
    }
    return true;
}

void Scaler::scale(float w, float h, float time, float delay) {
    to = {w, h};
    start(time, delay, false);
}

void Scaler::readStart(Object& target, bool fromDefinition) {
    from = target.getSize();
    if (fromDefinition) {
        to = {definesW ? definedTo.x : from.x, definesH ? definedTo.y : from.y};
    }
}

void Scaler::apply(Object& target, float t) {
    morvec::Vector2 size = t >= 1.0f ? to : morvec::Vector2(lerp(from.x, to.x, t), lerp(from.y, to.y, t));
    target.setSize(size.x, size.y);
}

AlphaFader::AlphaFader(const String& name) : Animator("Animators::AlphaFader", name) {}

bool AlphaFader::setProperty(const String& property, const String& value) {
    if (property == "to") {
        definedTo = value.toFloat();
        defineRun();
    } else if (property == "from") {
        definedFrom = value.toFloat();
        definesFrom = true;
    } else {
        return Animator::setProperty(property, value);
    }
    return true;
}

void AlphaFader::fade(float alpha, float time, float delay) {
    to = alpha;
    start(time, delay, false);
}

void AlphaFader::readStart(Object& target, bool fromDefinition) {
    if (fromDefinition) {
        to = definedTo;
        if (definesFrom) {
            target.setAlpha(definedFrom);
        }
    }
    from = target.getAlpha();
}

void AlphaFader::apply(Object& target, float t) {
    target.setAlpha(t >= 1.0f ? to : lerp(from, to, t));
}

} // namespace nimboui::Animators
