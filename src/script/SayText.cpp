#include "script/SayText.h"

#include <cmath>

namespace SayText {

namespace {

// Seconds of a piece that no pause mark ends.
constexpr float CLOSING_SECONDS = 7.0f;
// A pause number is read from at most this many characters.
constexpr size_t MAX_NUMBER = 64;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isPauseMark(const String& text, size_t i) {
    return text[i] == '<' && i + 1 < text.size() && text[i + 1] == 'p';
}

String dropBlanksBeforePauses(const String& text) {
    String result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (isPauseMark(text, i)) {
            while (!result.empty() && result.back() == ' ') {
                result.pop_back();
            }
        }
        result += text[i];
    }
    return result;
}

// The word after "{ " at i: up to the next white space or the end of the text.
String speakerAt(const String& text, size_t i) {
    size_t from = i + 2;
    size_t to = from;
    while (to < text.size() && !isBlank(text[to])) {
        ++to;
    }
    return cutAtCharacter(text.substr(from, to - from), MAX_PIECE);
}

} // namespace

String cutAtCharacter(const String& text, size_t max) {
    if (text.size() <= max) {
        return text;
    }
    // The byte at end is the first one cut off; while it continues a character, cut before that
    // character instead.
    size_t end = max;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    return text.substr(0, end);
}

Scan scan(const String& raw, float multiplier) {
    String text = dropBlanksBeforePauses(raw);
    Scan result;
    String speaker;
    size_t start = 0;
    bool moved = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '{' && i + 1 < text.size() && text[i + 1] == ' ') {
            speaker = speakerAt(text, i);
            result.speakerNamed = true;
            result.lastSpeaker = speaker;
        } else if (isPauseMark(text, i)) {
            float seconds = text.substr(i + 2, MAX_NUMBER).toFloat();
            if (!std::isfinite(seconds)) {
                seconds = 0.0f;
            }
            if (i > 0 && text[i - 1] != '>' && text[i - 1] != '}') {
                seconds *= multiplier;
            }
            result.pieces.push_back({speaker, cutAtCharacter(text.substr(start, i - start), MAX_PIECE), seconds});
            result.pauseSum += seconds;
        } else if (c == '>' || c == '}') {
            start = i + 1;
            moved = true;
        }
    }
    if (moved && text[start - 1] == '}') {
        result.pieces.push_back({speaker, cutAtCharacter(text.substr(start), MAX_PIECE), CLOSING_SECONDS * multiplier});
    }
    return result;
}

} // namespace SayText
