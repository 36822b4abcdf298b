#pragma once
// The say-text markup of spoken lines: "{ NAME }" names the speaker of what follows (a character,
// "x,y,colour", or "$variable" holding one), "<pN>" ends a piece that stays N seconds (times the
// text multiplier, unless the mark opens the text or follows ">" or "}"), and text after a closing
// brace with no pause mark after it stays 7 seconds times the multiplier. Text after a pause mark's
// ">" that no further mark ends is not shown. One scanner serves the subtitles and the pause sum.

#include "vessot/String.h"

#include <vector>

using vessot::String;

namespace SayText {

struct Piece {
    // The word after "{ " as written ("$name" is not resolved); "" before any speaker is named.
    String speaker;
    String text;
    float seconds = 0.0f;
};

struct Scan {
    std::vector<Piece> pieces;
    // The sum of the pause marks' seconds (the closing piece's 7 seconds not included).
    float pauseSum = 0.0f;
    // Whether a "{ " named a speaker, and the last one named.
    bool speakerNamed = false;
    String lastSpeaker;
};

// A piece, like a speaker's name, holds at most this many bytes; longer ones are cut at a
// character boundary.
constexpr size_t MAX_PIECE = 1023;

// Drops every blank before a pause mark (" <p2>" reads as "<p2>"), then reads the pieces.
Scan scan(const String& text, float multiplier);

// The text cut to at most max bytes without splitting a UTF-8 character.
String cutAtCharacter(const String& text, size_t max);

} // namespace SayText
