#include "ui/DialogPanel.h"

#include "script/DialogManager.h"
#include "script/Speech.h"
#include "ui/Hud.h"

#include "nimboui/Object.h"

namespace DialogPanel {

int highlightedReply = -1;
float shakeTimer = 0.0f;

bool isOpen() {
    return Hud::isUiObjectShown("dialog");
}

bool areRepliesShown() {
    return Hud::isUiObjectShown("reply_0");
}

void close() {
    if (nimboui::Object* panel = Hud::uiObject("dialog")) {
        panel->setVisible(false);
    }
    Speech::clear();
}

void update(float step) {
    if (shakeTimer > 0.0f) {
        shakeTimer = step >= shakeTimer ? 0.0f : shakeTimer - step;
    }
}

// The reply menu's handlers and keys belong to the dialog runner, which drives them once it exists.
void registerEvents() {}
void skipSpeechLine() {
    Speech::skipCurrentLine();
}
void handleReplyKey(int) {}
void resetReplyColours() {
    highlightedReply = -1;
}

} // namespace DialogPanel
