#include "engine/objects/FadingImage.h"

#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/session/zephUtil.h"

#include "nimboui/Image.h"

FadingImage::FadingImage(const vessot::String& name, const morvec::Rectangle& rect)
    : nimboui::ImageBox("FadingImage", name, rect) {}

float FadingImage::progress() const {
    return Vars::value(mVariable).toFloat();
}

void FadingImage::update(float dt) {
    float p = progress();
    if (p < 1.0f) {
        float q = p + mFadeSpeed * dt;
        if (q >= 1.0f) {
            Vars::set(mVariable, "1");
            if (!mFadeDoneCommand.empty()) {
                Session::queueCommand(mFadeDoneCommand);
            }
        } else {
            Vars::set(mVariable, vessot::String(q));
        }
    }
    nimboui::Object::update(dt);
}

bool FadingImage::setProperty(const vessot::String& name, const vessot::String& value) {
    nimboui::ImageBox::setProperty(name, value);
    if (name == "var") {
        mVariable = value;
    } else if (name == "fade_speed") {
        mFadeSpeed = value.toFloat();
    } else if (name == "fade_done_cmd") {
        mFadeDoneCommand = value;
    }
    return true;
}

void FadingImage::OnDraw(const morvec::Vector2& offset) {
    if (image) {
        image->draw(_getDrawRect().offset(offset),
                    nimbo::Color(255, 255, 255, zephUtil::alphaByte(progress() * getDerivedAlpha())));
    }
}
