#include "script/Speech.h"

#include "engine/session/Session.h"

namespace Speech {

std::map<String, String> speechMap;
float clickHintAlpha = 0.0f;

bool isSpeaking() {
    return !speechMap.empty();
}

// Subtitles and voices come with the characters; until then a line is only logged.
void say(const String&, const String& text) {
    Session::log("say: " + text);
}
void sayGenericLine() {}
void skipCurrentLine() {
    speechMap.clear();
}
void cutLine(const String& speaker) {
    speechMap.erase(speaker);
}
void clear() {
    speechMap.clear();
}
void updateTalkAnimation(float) {}

} // namespace Speech
