#pragma once
// An image box drawn turned about its centre. It shows an angle and turns towards a destination
// angle at a speed in degrees per second; angles are not wrapped, so a destination 360 degrees
// away is a full turn.

#include "nimboui/ImageBox.h"

namespace nimboui {

class RotationImageBox : public ImageBox {
public:
    static constexpr float DEFAULT_SPEED = 180.0f;

    RotationImageBox(const String& name, const morvec::Rectangle& rect);

    // "angle", "speed", "dest_angle", then ImageBox's.
    bool setProperty(const String& name, const String& value) override;
    void update(float dt) override;
    void OnDraw(const morvec::Vector2& offset) override;
    // Shows the angle at once and makes it the destination: no turn.
    virtual void setAngle(float degrees);

    float getAngle() const { return angle; }
    // Starts a turn from the shown angle towards the destination.
    void setDestAngle(float degrees) { destAngle = degrees; }
    float getDestAngle() const { return destAngle; }
    void setSpeed(float degreesPerSecond) { speed = degreesPerSecond; }
    float getSpeed() const { return speed; }
    bool isRotating() const { return angle != destAngle; }

    // Equal modulo 360 within 0.5 degrees.
    static bool angleEquals(float a, float b);

private:
    float angle = 0.0f;
    float destAngle = 0.0f;
    float speed = DEFAULT_SPEED;
};

using RotatableImageBox = RotationImageBox;

} // namespace nimboui
