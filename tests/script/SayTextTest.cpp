// The say-text markup: the pieces each speaker is given, their times under the text multiplier, the
// line shown when a named speaker gets nothing, and the pause sum the command language reads.
#include "script/SayText.h"
#include "engine/CoreFixture.h"
#include "engine/app/Engine.h"
#include "engine/session/Session.h"
#include "script/Speech.h"

#include <sstream>

namespace {

class SayTextTest : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        define("current_character", "luna");
        Speech::clear();
    }
    void TearDown() override {
        Speech::clear();
        textMultiplier = 1000.0f;
        CoreFixture::TearDown();
    }

    // The queues as "speaker:text/seconds" pieces, speakers in map order, joined by " | ".
    static std::string queues() {
        std::ostringstream out;
        for (const auto& [speaker, queue] : Speech::speechMap) {
            for (const SpeechSegment& piece : queue) {
                out << (out.tellp() ? " | " : "") << speaker << ":" << piece.text << "/" << piece.time;
            }
        }
        return out.str();
    }
};

TEST_F(SayTextTest, PiecesSpeakersAndTimes) {
    struct Row {
        const char* text;
        float multiplier;
        const char* queued;
        // Session::getTextPauseTime of the text.
        float pauseTime;
    } rows[] = {
        {"Hello <p3>", 1, ":Hello/3", 3},
        {"Hello  <p3>", 2, ":Hello/6", 6},
        {"{ vorne }Hi<p3>", 2, "vorne:Hi/6", 6},
        {"{ vorne }<p3>", 2, "vorne:/3", 3},
        // A blank before a pause mark goes first, so a mark after "}" stays unscaled.
        {"{ vorne } <p3>", 2, "vorne:/3", 3},
        {"{ vorne }Bye", 2, "vorne:Bye/14", 14},
        {"{ vorne }Hi<p2>Bye", 1, "vorne:Hi/2", 2},
        // The mark after the closing brace is a silent second; the text after its ">" is dropped.
        {"{ vorne }<p1>Hi", 2, "vorne:/1", 1},
        {"{ vorne }One<p1>Two<p1>", 2, "vorne:One/2 | vorne:Two/2", 4},
        {"{ $current_character }Hi<p1>", 1, "luna:Hi/1", 1},
        {"{ vorne }Hi<p1>{ luna }Yo<p2>", 1, "luna:Yo/2 | vorne:Hi/1", 3},
        {"{ 100,50,FF0000 }Over there<p1>", 1, "100,50,FF0000:Over there/1", 1},
        {"plain words", 3, "", 21},
        {"<p2>Hello there.", 2, ":/2", 2},
        // A mark without a number pauses 0; marks and speaker names at the very end are read safely.
        {"{ vorne }Hi<p>", 1, "vorne:Hi/0", 7},
        {"Hi<p", 1, ":Hi/0", 7},
        {"{ vorne }Hi<p1>{ ", 1, ":Error displaying 'KEY'/7 | vorne:Hi/1", 1},
        {"{ vorne", 1, "vorne:Error displaying 'KEY'/7", 7},
        {"{ vorne }", 2, "vorne:/14", 14},
    };
    for (const Row& row : rows) {
        textMultiplier = row.multiplier;
        Speech::say("KEY", row.text);
        EXPECT_EQ(queues(), row.queued) << row.text;
        EXPECT_FLOAT_EQ(Session::getTextPauseTime(row.text), row.pauseTime) << row.text;
        Speech::clear();
    }
}

// The two agree on the time a single speaker's line lasts when its last mark is a pause.
TEST_F(SayTextTest, TheSubtitlesLastAsLongAsThePauseTimeSays) {
    textMultiplier = 3;
    for (const char* text : {"{ vorne }One<p1>Two<p2.5>", "<p2>Hi<p1>", "{ vorne } <p4>", "a <p1> b <p1>"}) {
        Speech::say("KEY", text);
        float total = 0;
        for (const auto& [speaker, queue] : Speech::speechMap) {
            for (const SpeechSegment& piece : queue) {
                total += piece.time;
            }
        }
        EXPECT_FLOAT_EQ(total, Session::getTextPauseTime(text)) << text;
        Speech::clear();
    }
}

TEST_F(SayTextTest, LongPiecesAndNamesAreCutAtACharacterBoundary) {
    String word;
    for (int i = 0; i < 600; ++i) {
        word += "\xC3\xA9"; // two bytes a character
    }
    SayText::Scan scan = SayText::scan("{ " + word + " }" + word + "<p1>" + word.substr(1) + "<p1>", 1);
    ASSERT_EQ(scan.pieces.size(), 2u);
    EXPECT_EQ(scan.lastSpeaker, word.substr(0, 1022));
    EXPECT_EQ(scan.pieces[0].text, word.substr(0, 1022));
    // A text that starts inside a character is cut at the 1023rd byte, the end of a character.
    EXPECT_EQ(scan.pieces[1].text, word.substr(1, 1023));
    EXPECT_EQ(SayText::cutAtCharacter("abc", 2), "ab");
}

TEST_F(SayTextTest, AnUnknownSpeakerVariableQueuesNothing) {
    EXPECT_THROW(Speech::say("KEY", "{ vorne }Hi<p1>{ $nobody }Yo<p1>"), _UnknownVariableException);
    EXPECT_TRUE(Speech::speechMap.empty());
}

} // namespace
