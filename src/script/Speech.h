#pragma once
// Spoken lines: the say-text markup (SayText.h) turned into timed pieces, one queue per speaker,
// counted down each frame with the speakers' talk animation, drawn as subtitles above the speakers
// and skipped piece by piece.

#include "morvec/Rectangle.h"
#include "nimbo/Color.h"
#include "vessot/String.h"

#include <deque>
#include <map>
#include <vector>

using vessot::String;

struct SpeechSegment {
    String text;
    // Seconds still to show.
    float time = 0.0f;
};

// A subtitle as drawn: its text, its rectangle on the interface's screen and its colour.
struct Subtitle {
    String text;
    morvec::Rectangle rect;
    nimbo::Color colour;
};

namespace Speech {

// The lines being spoken, by speaker key: "" (the default place, white), a character's name (above
// that character, with its talk animation) or "x,y,colour" (at that scene point); the first piece of
// each queue is the one shown. A speaker's entry goes when its last piece ends.
extern std::map<String, std::deque<SpeechSegment>> speechMap;
// Grows by 7 a second; past 1 every talking character shows a new mouth frame.
extern float talkFrameTimer;
// The opacity of the "click to continue" hint.
extern float clickHintAlpha;

bool isSpeaking();
// Queues the pieces of a say-text; the key names the text it was taken from ("" for none) and
// appears only in the line shown when a named speaker is given nothing to say.
void say(const String& key, const String& text);
inline void say(const String& text) {
    say("", text);
}
// Counts every speaker's current piece down, ends finished lines (the speaker stands again) and
// moves the mouths of the talking characters.
void updateTalkAnimation(float step);
// The font of the subtitles.
String subtitleFont();
// Every speaker's current piece placed in map order: above the speaker (a character the active scene
// shows, or a scene position), else at the foot of the screen, inside the screen, clear of the HUD's
// buttons and of the subtitles placed before it. A piece without text takes its place too.
std::vector<Subtitle> placeSubtitles();
// The subtitles and the continue hint, in the interface's projection.
void draw();
// Ends the current piece of every speaker (a character's running "Say" job is advanced by what
// remained) and answers the largest time that remained; nothing while "textmode_exception" is "1".
float skipCurrentLine();
// Ends a speaker's line at once.
void cutLine(const String& speaker);
// The current character refuses: one of the lines "GENERIC_01" to "GENERIC_08" of the "ui" chapter.
void sayGenericLine();
void clear();

} // namespace Speech
