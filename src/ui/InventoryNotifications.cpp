// New-item notifications: each added item rises above the inventory button, bounces, sinks into it
// and fades over two seconds, one after another.
#include "ui/InventoryPanel.h"

#include "engine/scene/Chapter.h"
#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/view/Viewport.h"

#include "nimbo/Color.h"
#include "nimboui/Image.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace InventoryPanel {

vessot::Array<InventoryNotification> notifications;

namespace {

constexpr float DEGREES = 3.14159265f / 180.0f;

// The item's image; a missing one is logged once per name and shows nothing.
nimboui::Image* itemImage(const String& item) {
    static std::set<String> reported;
    String name = "items/" + item;
    nimboui::Image* image = uiChapter->findImage(name);
    if (!image && reported.insert(name).second) {
        GameUtil::logMessage("ERROR! drawNotification: the image '" + name + "' does not exist");
    }
    return image;
}

} // namespace

void notifyItemAdded(const String& item) {
    refresh();
    if (uiChapter && Vars::value("inv_ignore_notifications") == "0") {
        notifications.add({0.0f, item});
    }
}

void advanceNotifications(float step) {
    if (notifications.empty()) {
        return;
    }
    notifications[0].progress += 0.5f * step;
    if (notifications[0].progress > 1.0f) {
        notifications.removeFirst();
    }
}

std::vector<NotificationSprite> notificationSprites() {
    String chapter = GameUtil::getActiveChapterName();
    if (notifications.empty() || !uiChapter || chapter == "ui" || chapter == "menu") {
        return {};
    }
    bool mobile = Session::getParam("ui") == "mobile";
    float off = Viewport::getWidescreenOffset();
    int base = mobile ? 54 : 35;
    std::vector<NotificationSprite> sprites;
    if (nimboui::Image* button = uiChapter->findImage("gui/inv_up")) {
        sprites.push_back({button, {2 - off, mobile ? 265.0f : 283.0f, (float)base, (float)base}, 1.0f});
    }
    float t = notifications[0].progress;
    float rise = 80 * std::min(1.2f - t * t, 1.0f);
    float size = (float)base;
    float alpha = 1.0f;
    if (t < 0.2f) {
        // One bounce over the first fifth.
        size = base + 10 * std::sin(t * 5 * 180 * DEGREES);
        alpha = std::min(10 * t, 1.0f);
    }
    if (t > 0.9f) {
        alpha = 1.0f - (t - 0.9f) * 10;
    }
    if (nimboui::Image* image = itemImage(notifications[0].item)) {
        sprites.push_back({image, {(base / 2 + 5) - size / 2 - off, 315 - size / 2 - rise, size, size}, alpha});
    }
    return sprites;
}

void drawNotification() {
    for (const NotificationSprite& sprite : notificationSprites()) {
        sprite.image->draw(sprite.rect, nimbo::Color(255, 255, 255, (uint8_t)(int)(sprite.alpha * 255)));
    }
}

} // namespace InventoryPanel
