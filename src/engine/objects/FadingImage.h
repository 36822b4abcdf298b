#pragma once
// An image that fades in as a game variable climbs from 0 to 1 at "fade_speed" per second. The
// progress lives only in the variable ("var"), so a fade survives saving and loading; the command
// "fade_done_cmd" is queued once, on the step that reaches 1.

#include "nimboui/ImageBox.h"

class FadingImage : public nimboui::ImageBox {
public:
    FadingImage(const vessot::String& name, const morvec::Rectangle& rect);

    void update(float dt) override;
    // "var", "fade_speed", "fade_done_cmd"; every property also goes to the image box.
    bool setProperty(const vessot::String& name, const vessot::String& value) override;
    void OnDraw(const morvec::Vector2& offset) override;

private:
    // The variable's value as a number; text that is not a number reads 0.
    float progress() const;

    vessot::String mVariable;
    vessot::String mFadeDoneCommand;
    float mFadeSpeed = 1.0f;
};
