#include "nimboui/RotationImageBox.h"

#include "nimboui/Image.h"

#include <cmath>

namespace nimboui {

RotationImageBox::RotationImageBox(const String& name, const morvec::Rectangle& rect)
    : ImageBox("RotationImageBox", name, rect) {}

bool RotationImageBox::setProperty(const String& property, const String& value) {
    if (property == "angle") {
        setAngle(value.toFloat());
    } else if (property == "dest_angle") {
        setDestAngle(value.toFloat());
    } else if (property == "speed") {
        setSpeed(value.toFloat());
    } else {
        return ImageBox::setProperty(property, value);
    }
    return true;
}

void RotationImageBox::setAngle(float degrees) {
    angle = degrees;
    destAngle = degrees;
}

// Turns towards the destination and stops exactly on it; a speed of 0 or less turns at once.
void RotationImageBox::update(float dt) {
    if (angle != destAngle) {
        float step = speed * dt;
        float left = destAngle - angle;
        if (speed <= 0.0f || std::fabs(left) <= step) {
            angle = destAngle;
        } else {
            angle += left > 0.0f ? step : -step;
        }
    }
    ImageBox::update(dt);
}

void RotationImageBox::OnDraw(const morvec::Vector2& offset) {
    nimbo::Color shown = drawColor();
    if (image && shown.a > 0) {
        image->draw(rect.offset(offset), shown, angle);
    }
}

bool RotationImageBox::angleEquals(float a, float b) {
    float difference = std::fmod(a - b, 360.0f);
    if (difference < 0.0f) {
        difference += 360.0f;
    }
    return difference <= 0.5f || difference >= 359.5f;
}

} // namespace nimboui
