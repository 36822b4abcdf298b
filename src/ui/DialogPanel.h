#pragma once
// The conversation panel ("dialog") and its reply menu.

namespace DialogPanel {

// The reply highlighted by the keyboard or pointer; -1 for none.
extern int highlightedReply;
// While positive, the reply panel shakes.
extern float shakeTimer;

bool isOpen();
bool areRepliesShown();
void close();
void update(float step);
void registerEvents();
void skipSpeechLine();
void handleReplyKey(int key);
void resetReplyColours();

} // namespace DialogPanel
