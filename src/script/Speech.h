#pragma once
// Spoken lines and their subtitles.

#include "vessot/String.h"

#include <map>

using vessot::String;

namespace Speech {

// The lines being spoken, by speaker; someone speaks while it holds an entry.
extern std::map<String, String> speechMap;
// The opacity of the "click to skip" hint.
extern float clickHintAlpha;

bool isSpeaking();
// Shows and times a line of say-text markup; the key names the text it was taken from ("" for none).
void say(const String& key, const String& text);
inline void say(const String& text) {
    say("", text);
}
// The current character refuses to use the item in hand on a hotspot.
void sayGenericLine();
void skipCurrentLine();
// Ends a speaker's line at once.
void cutLine(const String& speaker);
void clear();
void updateTalkAnimation(float step);

} // namespace Speech
