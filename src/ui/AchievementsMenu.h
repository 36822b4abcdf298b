#pragma once
// The achievements menu, the "ui" chapter's scene "AchievementsMenu": every achievement in pages
// (16 a page, 4 on the mobile interface), unlocked ones in colour and clickable for their detail,
// locked ones grey, and the count of the unlocked ones. Its handlers act on the active scene.

#include "engine/InterfaceServices.h"
#include "engine/scene/Scene.h"

namespace UserInterface::AchievementsMenu {

class Menu : public Scene {
public:
    explicit Menu(Chapter* chapter);
    // Fills the page; an entry from another scene starts at the first page and wires the buttons.
    void onEnter() override;

    int page = 0;
};

// The menu scene for the "ui" chapter's registration.
Scene* create(Chapter* chapter);

// "Click" handlers of "acm_page_prev", "acm_page_next" and every "acm_button_" + entry.
void onPagePrev(nimboui::EventArgs* args);
void onPageNext(nimboui::EventArgs* args);
void onEntryClick(nimboui::EventArgs* args);

} // namespace UserInterface::AchievementsMenu
