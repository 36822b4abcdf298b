#pragma once
// The hint book, the "ui" chapter's scene "Hintbook": the open tasks of the story (variables whose
// names begin with "hint" and whose value, when not "0", counts the task's unlocked lines, its
// title included), at most five a page; the one open task shows its lines, and a click on them
// unlocks the next. In the casual mode the titles open and close tasks too.

#include "engine/InterfaceServices.h"
#include "engine/scene/Scene.h"

#include <vector>

namespace UserInterface {

class Hintbook : public Scene {
public:
    explicit Hintbook(Chapter* chapter);
    static Scene* create(Chapter* chapter);

    // Wires the close button and lays the page out at once.
    void onEnter() override;
    // Builds the page from the task variables; without instant the titles and the open body move
    // to their places.
    void layout(bool instant);
    // Fades the body of the task at the index in (1.0) or out (0.0).
    void fadeHint(int index, float target);
    // Fades out the open task's body.
    void collapse();
    // A click on a task's body, or on its title: opens the task, or unlocks its next line.
    void onEntryClick(int index);
    // A click on a task's title: closes the open task, opens any other.
    void onTitleClick(int index);

    // The task variables shown on the page, slot 1 first; valid until the next layout.
    std::vector<Variable*> shownHints;
};

// "Click" handlers of the bodies ("hint" + slot), the titles ("hint" + slot + "_title") and
// "hintbook_close". A slot that shows no task is ignored.
void onHintBodyClick(nimboui::EventArgs* args);
void onHintTitleClick(nimboui::EventArgs* args);
void onHintbookClose(nimboui::EventArgs* args);

} // namespace UserInterface
