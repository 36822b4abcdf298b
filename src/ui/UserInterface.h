#pragma once
// The "ui" chapter's own scenes and callbacks, and the menus the keyboard closes.

class Chapter;

namespace nimboui {
struct EventArgs;
}

namespace UserInterface {

// The pre-load callback of the "ui" chapter.
void registerScenes(Chapter* chapter);

namespace SettingsMenu {
// Keeps the user's settings and returns to the scene the menu was opened from.
void onClose(nimboui::EventArgs* args);
} // namespace SettingsMenu

namespace AchievementsMenu {
void onClose(nimboui::EventArgs* args);
}

namespace RateMeBox {
// Answers the rating prompt with "later".
void close();
} // namespace RateMeBox

} // namespace UserInterface
