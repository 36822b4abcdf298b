// Speech on the running game: the countdown, the skip and the cut, the speakers made to stand, the
// generic refusals and where the subtitles stand.
#include "TalkGame.h"

#include "engine/app/Engine.h"
#include "engine/view/Viewport.h"
#include "script/Character2DRef.h"

#include <cmath>
#include <set>

namespace {

class SpeechTest : public TalkGame {
protected:
    void SetUp() override {
        TalkGame::SetUp();
        textMultiplier = 1.0f;
    }
};

TEST_F(SpeechTest, TheCountdownEndsOnePieceAtATimeTheMouthMovesAndTheSpeakerStandsAfterItsLast) {
    Character2D* speaker = vorne();
    Speech::say("K", "{ vorne }One<p1>Two<p1>");
    Speech::say("K", "Narrator<p0.5>");
    Speech::updateTalkAnimation(0.6f);
    EXPECT_EQ(saying("vorne"), "One");
    EXPECT_EQ(saying(""), "");
    EXPECT_EQ(showing(speaker), "Talk");
    Speech::updateTalkAnimation(0.6f);
    EXPECT_EQ(saying("vorne"), "Two");
    Speech::updateTalkAnimation(1.0f);
    EXPECT_FALSE(Speech::isSpeaking());
    EXPECT_EQ(showing(speaker), "Stand");

    // A character busy with another job moves no mouth; at the end of the line an animation keeps its
    // pose, anything else gives way to the stand frame.
    for (const char* job : {"Animate", "Move"}) {
        vorne()->getFrameImageName("Take", 3);
        speaker->addJob(new CountingJob(job));
        Speech::say("K", "{ vorne }Hm<p1>");
        Speech::updateTalkAnimation(0.5f);
        EXPECT_EQ(showing(speaker), "Take") << job;
        Speech::updateTalkAnimation(0.5f);
        EXPECT_EQ(showing(speaker), job == std::string("Animate") ? "Take" : "Stand") << job;
    }
}

// The mouth shows a new frame of the talk animation (the variable NAME_talk names another) each time
// the timer passes 1 at 7 a second; one frame is shown as it is, none leaves the image alone.
TEST_F(SpeechTest, TheMouthTakesADifferentFrameEachTime) {
    Character2D* speaker = vorne();
    speaker->setProperty("Animation:Silent", "0,1");
    struct Row {
        const char* animation;
        std::set<std::string> shown;
    } rows[] = {
        {"Talk", {"Talk_S.01", "Talk_S.02", "Talk_S.03"}},
        {"Stand", {"Stand_S.01"}},
        {"Silent", {"Take_S.02"}},
    };
    for (const Row& row : rows) {
        Vars::getOrCreate("vorne_talk")->setValue(row.animation);
        speaker->getFrameImageName("Take", 2);
        Speech::say("K", "{ vorne }A long line<p30>");
        std::set<std::string> shown;
        std::string last;
        for (int i = 0; i < 60; ++i) {
            Speech::updateTalkAnimation(1.0f / 7.0f + 0.001f);
            std::string image = speaker->getImageName().substr(speaker->getImageName().rfind('/') + 1);
            if (row.shown.size() > 1) {
                EXPECT_NE(image, last) << row.animation;
            }
            last = image;
            shown.insert(image);
        }
        EXPECT_EQ(shown, row.shown) << row.animation;
        Speech::clear();
    }
    Vars::set("vorne_talk", "Nope");
    Speech::say("K", "{ vorne }Hm<p3>");
    EXPECT_THROW(Speech::updateTalkAnimation(0.1f), vessot::exception);
}

TEST_F(SpeechTest, ASkipEndsEveryCurrentPieceAdvancesSayJobsAndAnswersTheRest) {
    Character2D* speaker = vorne();
    auto* say = new CountingJob("Say");
    speaker->addJob(say);
    Speech::say("K", "{ vorne }One<p3>Two<p4>");
    Speech::say("K", "{ 100,50,FF0000 }There<p5>");
    Speech::say("K", "Narrator<p2>");
    EXPECT_FLOAT_EQ(Speech::skipCurrentLine(), 5.0f);
    EXPECT_EQ(saying("vorne"), "Two");
    EXPECT_FALSE(Speech::speechMap.count("100,50,FF0000"));
    // The "Say" job is given the rest of a piece that is not the last, and 10000 more for the last.
    EXPECT_EQ(say->given, std::vector<float>{3.0f});
    EXPECT_FLOAT_EQ(Speech::skipCurrentLine(), 4.0f);
    EXPECT_EQ(say->given, (std::vector<float>{3.0f, 10004.0f}));
    EXPECT_FALSE(Speech::isSpeaking());
    EXPECT_FLOAT_EQ(Speech::skipCurrentLine(), 0.0f);
    // In key order, a plain or positional speaker's rest replaces the answer.
    Speech::say("K", "Narrator<p5>");
    Speech::say("K", "{ 100,50,FF0000 }There<p2>");
    EXPECT_FLOAT_EQ(Speech::skipCurrentLine(), 2.0f);

    Vars::set("textmode_exception", "1");
    Speech::say("K", "{ vorne }Stay<p3>");
    EXPECT_FLOAT_EQ(Speech::skipCurrentLine(), 0.0f);
    EXPECT_EQ(saying("vorne"), "Stay");
    EXPECT_FLOAT_EQ(Speech::speechMap["vorne"].front().time, 3.0f);
}

TEST_F(SpeechTest, ACutEndsTheSpeakersWholeLineAndLeavesTheOthers) {
    Character2D* speaker = vorne();
    Speech::say("K", "{ vorne }One<p3>Two<p3>Three<p3>");
    Speech::say("K", "{ luna }Still here<p3>");
    Speech::updateTalkAnimation(0.5f);
    Speech::cutLine("vorne");
    EXPECT_FALSE(Speech::speechMap.count("vorne"));
    EXPECT_EQ(showing(speaker), "Stand");
    EXPECT_EQ(saying("luna"), "Still here");
    Speech::cutLine("nobody");
    EXPECT_EQ(saying("luna"), "Still here");
}

TEST_F(SpeechTest, GenericRefusalsUseTheEightKeysAndTheCharactersOwnVariant) {
    std::set<vessot::String> said;
    for (const char* character : {"vorne", "luna"}) {
        Vars::set("current_character", character);
        for (int i = 0; i < 80; ++i) {
            Speech::sayGenericLine();
            said.insert(vessot::String(character) + ":" + Speech::speechMap[character].back().text);
        }
        Speech::clear();
    }
    std::set<vessot::String> expected;
    for (const char* character : {"vorne", "luna"}) {
        for (int n = 1; n <= 8; ++n) {
            vessot::String key = "GENERIC_0" + vessot::String(n);
            if (!uiChapter->textExists(key)) {
                key += "-" + vessot::String(character);
            }
            ASSERT_TRUE(uiChapter->textExists(key)) << key;
            expected.insert(vessot::String(character) + ":" + uiChapter->getText(key));
        }
    }
    EXPECT_EQ(said, expected);
}

// The subtitles' places, in the interface's units, on the running game's 4:3 window.
TEST_F(SpeechTest, SubtitlesStandAboveTheirSpeakerInsideTheScreenAndClearOfEachOther) {
    auto place = [](std::initializer_list<const char*> texts) {
        Speech::clear();
        for (const char* text : texts) {
            Speech::say("K", text);
        }
        return Speech::placeSubtitles();
    };
    // The scene's point on the interface's screen.
    auto screen = [](float x, float y) {
        morvec::Rectangle view = Viewport::getViewportRect(true);
        morvec::Vector2 window = Viewport::windowSize();
        return morvec::Vector2((x - cameraOffsetX + view.x) * (window.x / window.y * 320.0f / view.w),
                               (y + view.y) * (320.0f / view.h));
    };

    std::vector<Subtitle> one = place({"{ 100,150,FF0000 }Over there<p5>"});
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].colour, nimbo::Color(255, 0, 0, 255));
    morvec::Vector2 point = screen(100, 150);
    EXPECT_FLOAT_EQ(one[0].rect.x + one[0].rect.w / 2, point.x);
    EXPECT_FLOAT_EQ(one[0].rect.y + one[0].rect.h, point.y);
    EXPECT_GT(one[0].rect.h, 0.0f);

    // A speaker the scene does not show speaks from the foot of the screen, in its colour.
    std::vector<Subtitle> danny = place({"{ danny }Hello<p5>"});
    EXPECT_EQ(danny[0].colour, nimbo::Color(Vars::value("danny_fontcolor")));
    EXPECT_FLOAT_EQ(danny[0].rect.y + danny[0].rect.h, screen(213, 311).y);
    // A character the scene shows speaks from above its head.
    Character2D* speaker = vorne();
    Character2DRef* reference = Characters::getCurrentCharacterRef();
    Subtitle head = place({"{ vorne }Hello<p5>"})[0];
    morvec::Vector2 top = screen(speaker->getPosition().x, speaker->getPosition().y - reference->getHeight());
    EXPECT_FLOAT_EQ(head.rect.x + head.rect.w / 2, top.x);
    EXPECT_FLOAT_EQ(head.rect.y + head.rect.h, top.y);
    // A position without a colour is white.
    EXPECT_EQ(place({"{ 100,150 }Hi<p5>"})[0].colour, nimbo::Color(255, 255, 255, 255));

    // Kept inside the screen: 5 from the sides and the top (20 in casual mode).
    struct Edge {
        const char* text;
        const char* casual;
        float x;
        float y;
    } edges[] = {
        {"{ -300,150,FFFFFF }Far left<p5>", "0", 5, NAN},
        {"{ 2000,-500,FFFFFF }Far up right<p5>", "0", NAN, 5},
        {"{ 100,-500,FFFFFF }Far up<p5>", "1", NAN, 20},
    };
    for (const Edge& edge : edges) {
        Vars::set("casual_mode", edge.casual);
        Subtitle s = place({edge.text})[0];
        if (!std::isnan(edge.x)) {
            EXPECT_FLOAT_EQ(s.rect.x, edge.x) << edge.text;
        }
        if (!std::isnan(edge.y)) {
            EXPECT_FLOAT_EQ(s.rect.y, edge.y) << edge.text;
        }
    }
    Vars::set("casual_mode", "0");
    Subtitle right = place({"{ 2000,150,FFFFFF }Far right<p5>"})[0];
    EXPECT_FLOAT_EQ(right.rect.x + right.rect.w, 421.0f);

    // The character button pushes a subtitle in the top right corner down.
    Hud::uiObject("character_button")->setAlpha(1.0f);
    Subtitle corner = place({"{ 2000,-500,FFFFFF }Top right<p5>"})[0];
    EXPECT_FLOAT_EQ(corner.rect.y, corner.rect.x + corner.rect.w - 366.0f);
    Hud::uiObject("character_button")->setAlpha(0.0f);

    // Two at one spot: the second moves by the first of +0.5, -0.5, +1, -1, ... that clears the first.
    std::vector<Subtitle> two = place({"{ 100,150,00FF00 }Same words<p5>", "{ 100,150,FF0000 }Same words<p5>"});
    ASSERT_EQ(two.size(), 2u);
    EXPECT_FLOAT_EQ(two[1].rect.x, two[0].rect.x);
    EXPECT_NEAR(two[1].rect.y, two[0].rect.y + std::ceil(two[0].rect.h * 2) / 2, 1e-3);
}

} // namespace
