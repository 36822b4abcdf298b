#include "engine/objects/ActionArrowMarker.h"

#include "engine/scene/ActionMap.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/zephUtil.h"
#include "engine/view/Viewport.h"

#include "nimboui/Exception.h"
#include "nimboui/Image.h"

#include <algorithm>
#include <cmath>
#include <numbers>

ActionArrowMarker::ActionArrowMarker(const vessot::String& name, const morvec::Rectangle& rect)
    : nimboui::RotationImageBox(name, rect) {}

bool ActionArrowMarker::setProperty(const vessot::String& name, const vessot::String& value) {
    // Here "color" is an area id, not the image box's tint.
    if (name != "color") {
        nimboui::RotationImageBox::setProperty(name, value);
        return true;
    }
    if (!zephUtil::parseAreaId(value, mColor)) {
        throw nimboui::_GenericException("'color' of an arrow marker must be a hexadecimal area id, not '" + value +
                                             "'",
                                         "GenericException", __FILE__, __LINE__);
    }
    return true;
}

bool ActionArrowMarker::updateTarget() const {
    Scene* scene = Session::activeScene;
    if (!scene || !scene->actionMap) {
        return false;
    }
    return scene->actionMap->getAreaAt((int)(sceneCursor.x + cameraOffsetX), (int)sceneCursor.y) == mColor;
}

void ActionArrowMarker::update(float dt) {
    float step = 5.0f * dt;
    mVisibility = updateTarget() ? std::min(mVisibility + step, 1.0f) : std::max(mVisibility - step, 0.0f);
    mTime += dt;
}

void ActionArrowMarker::OnDraw(const morvec::Vector2& offset) {
    if (mVisibility <= 0.0f || !image) {
        return;
    }
    float bob = 5.0f * std::sin(6.0f * mTime);
    float angle = getAngle();
    float theta = angle * std::numbers::pi_v<float> / 180.0f;
    morvec::Rectangle r = _getDrawRect().offset(offset);
    morvec::Rectangle centred(r.x + getWidth() / 2 - bob * std::sin(theta),
                              r.y + getHeight() / 2 - bob * std::cos(theta), r.w, r.h);
    image->drawCentered(centred, nimbo::Color(255, 255, 255, zephUtil::alphaByte(mVisibility)), angle);
}
