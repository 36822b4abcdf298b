#pragma once
// An arrow over a hotspot: it fades in within 0.2 s while the pointer is over the hotspot area
// "color" of the active scene's map (six hex digits, the area's id) and out as fast when it
// leaves, bobbing 5 units back and forth along the direction it is turned to.

#include "nimboui/RotationImageBox.h"

#include <cstdint>

class ActionArrowMarker : public nimboui::RotationImageBox {
public:
    ActionArrowMarker(const vessot::String& name, const morvec::Rectangle& rect);

    void update(float dt) override;
    // "color" (a hexadecimal area id; anything else is refused); other names go to the rotation
    // image box.
    bool setProperty(const vessot::String& name, const vessot::String& value) override;
    void OnDraw(const morvec::Vector2& offset) override;

    // Whether the pointer is over the marker's area: the active scene's hotspot map at the scene
    // point under the pointer (as clicks read it); no scene or map means no.
    bool updateTarget() const;
    float getVisibility() const { return mVisibility; }

private:
    uint32_t mColor = 0;
    float mTime = 0.0f;
    float mVisibility = 0.0f;
};
