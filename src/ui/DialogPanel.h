#pragma once
// The conversation panel ("dialog") and its reply menu: up to 20 labels "reply_0" to "reply_19" in
// "reply_container", the first reply on the highest label of those in use and the last on
// "reply_0"; "dialog_click_blocker" behind them skips the line being spoken. What the engine and the
// dialog runner call is declared with the interface's services.

#include "engine/InterfaceServices.h"

#include <vector>

namespace nimboui {
class Label;
}

namespace DialogPanel {

// The labels there are; a menu with more replies shows the first ones.
constexpr int MAX_REPLIES = 20;

// The replies on show, in the menu's order; empty while no choice is pending.
extern std::vector<DialogReply*> currentReplies;

// Shows labels 0 to count - 1, hides the rest, clears the highlight and the colours and puts the
// container in place; 0 also forgets the replies.
void setReplyCount(int count);
// false hides the panel (the HUD buttons come back) and leaves the speech alone.
void setVisible(bool visible);
// The "Click" handler of the labels.
void onReplyClick(nimboui::EventArgs* args);
// The reply font ("hheaven:" + scale) at the largest scale from base down, in steps of 0.025, at which
// the text laid out 416 wide takes one line; past 0.7 the text wraps instead.
String fitReplyFont(const String& text, float base);
// The label "reply_" + index of the "ui" chapter.
nimboui::Label* replyLabel(int index);

} // namespace DialogPanel
