// The reply menu on the running game: replies laid out from the top, numbered on "pc" and dimmed when
// exhausted, chosen by key and by click, the shake, the font that shrinks for long replies, menus of
// more than 20 replies, and the skip and the lines the panel speaks.
#include "script/TalkGame.h"

#include "engine/app/Engine.h"
#include "engine/session/Session.h"

#include "runel/Renderer.h"

#include <cmath>

namespace {

enum Key { ENTER = 13, SPACE = 32, LEFT = 37, UP = 38, RIGHT = 39, DOWN = 40, DIGIT_0 = 48, KEY_A = 65 };

const nimbo::Color ORANGE(255, 127, 0, 255);

class ReplyMenu : public TalkGame {
protected:
    void SetUp() override {
        TalkGame::SetUp();
        addDialogs(R"(<D>
            <Menu name="keys">
                <Reply text="ASK_COURSE"><Action type="SetVar" var="oxygen_checked" value="1" reset="false"/></Reply>
                <Reply text="ASK_SYSTEMS"><Action type="SetVar" var="oxygen_checked" value="2" reset="false"/></Reply>
                <Reply text="SAY_GOODBYE"><Action type="SetVar" var="oxygen_checked" value="3" reset="false"/></Reply>
            </Menu>
            <Menu name="on"><Reply text="GO_BACK"><Redirect to="keys"/></Reply></Menu>
        </D>)");
    }

    static void open(const char* menu) {
        DialogManager::enterNode(dialog(menu));
        DialogManager::show();
    }
    // The labels drawn orange, by index.
    static std::vector<int> orange() {
        std::vector<int> labels;
        for (int i = 0; i < DialogPanel::MAX_REPLIES; ++i) {
            if (label(i)->getColor() == ORANGE) {
                labels.push_back(i);
            }
        }
        return labels;
    }
    static std::string chosen() {
        auto* reply = dynamic_cast<DialogReply*>(DialogManager::currentNode);
        return reply ? reply->text : std::string();
    }
};

TEST_F(ReplyMenu, RepliesFillTheLabelsFromTheTopNumberedOnThePc) {
    talk("intercom");
    skipToReplies();
    EXPECT_EQ(shownReplies(), (std::vector<std::string>{"1: Where are we headed?", "2: How are the ship's systems?",
                                                        "3: That's all for now."}));
    EXPECT_EQ(label(2)->getText(), "1: Where are we headed?");
    EXPECT_EQ(label(0)->getText(), "3: That's all for now.");
    EXPECT_FLOAT_EQ(Hud::uiObject("reply_container")->getY(), -320.0f);

    // Chosen before and leading nowhere new: dimmed, and still offered.
    Vars::set("ship_dlgflags", ";ASK_COURSE");
    Session::setParam("target", "tablet");
    DialogManager::enterNode(dialog("intercom_menu"));
    EXPECT_EQ(shownReplies(), (std::vector<std::string>{"Where are we headed? (dim)", "How are the ship's systems?",
                                                        "That's all for now."}));
    EXPECT_FLOAT_EQ(label(2)->getAlpha(), 0.6f);
}

TEST_F(ReplyMenu, ThePanelKeepsItsDefinedPlaceWhoseBandSpansThePictureAndEndsAtTheWindowsBottom) {
    const struct {
        int width, height;
        const char* aspect;
        bool letterboxed; // the window is narrower than the aspect: a bar below the picture
    } rows[] = {{853, 533, "4:3", false},  {853, 533, "screen", false}, {853, 533, "16:9", true},
                {1440, 960, "4:3", false}, {1280, 720, "16:9", false},  {1280, 960, "16:9", true},
                {1280, 960, "3:2", true},  {2560, 1080, "16:10", false}};
    talk("intercom");
    nimboui::Object* panel = Hud::uiObject("dialog");
    nimboui::Object* band = Hud::uiObject("dialog_band");
    const morvec::Vector2 panelAt = panel->getPosition(), bandAt = band->getPosition(), bandSize = band->getSize();
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.width << "x" << row.height << " " << row.aspect);
        game->resize(row.width, row.height);
        Session::params["aspect"] = row.aspect;
        game->step(2);
        EXPECT_EQ(panel->getPosition(), panelAt);
        EXPECT_EQ(band->getPosition(), bandAt);
        EXPECT_EQ(band->getSize(), bandSize);
        // In window pixels (the harness maps interface units as the cursor does, up to 0.2 % off the
        // drawing).
        morvec::Vector2 centre = GameHarness::centreOf(band);
        morvec::Vector2 bandFrom = game->guiToWindow(centre.x - band->getWidth() / 2, 0);
        morvec::Vector2 bandTo = game->guiToWindow(centre.x + band->getWidth() / 2, centre.y + band->getHeight() / 2);
        morvec::Vector2 pictureFrom = game->sceneToWindow(0, 0);
        morvec::Vector2 pictureTo = game->sceneToWindow(426, 320);
        EXPECT_LE(bandFrom.x, pictureFrom.x + 3);
        EXPECT_GE(bandTo.x, pictureTo.x - 3);
        EXPECT_NEAR(bandTo.y, row.height, 3);
        EXPECT_EQ(pictureTo.y < row.height - 3, row.letterboxed);
    }
    Session::params["aspect"] = "4:3";
}

TEST_F(ReplyMenu, KeysChooseByNumberOrMoveAWrappingHighlight) {
    struct Row {
        std::vector<int> keys;
        // The reply chosen, else the labels highlighted.
        const char* chosen;
        std::vector<int> highlighted;
    } rows[] = {
        {{UP}, "", {0}},
        {{DOWN}, "", {2}},
        {{LEFT, LEFT}, "", {1}},
        {{UP, UP, UP, UP}, "", {0}},
        {{DOWN, RIGHT, DOWN, DOWN}, "", {2}},
        {{DIGIT_0 + 2}, "ASK_SYSTEMS", {}},
        {{DIGIT_0 + 4}, "", {}},
        {{DIGIT_0}, "", {}},
        {{SPACE}, "", {}},
        {{KEY_A, ENTER}, "", {}},
        {{DOWN, DOWN, ENTER}, "ASK_SYSTEMS", {1}},
        {{UP, SPACE}, "SAY_GOODBYE", {0}},
        // After a key choice the labels stay, and keys do nothing until the next menu.
        {{DIGIT_0 + 1, DOWN, DIGIT_0 + 3}, "ASK_COURSE", {}},
    };
    for (const Row& row : rows) {
        open("keys");
        for (int key : row.keys) {
            DialogPanel::handleReplyKey(key);
        }
        EXPECT_EQ(chosen(), row.chosen) << row.keys.size() << " keys, first " << row.keys[0];
        EXPECT_EQ(orange(), row.highlighted) << row.keys.size() << " keys, first " << row.keys[0];
        if (!chosen().empty()) {
            EXPECT_TRUE(DialogPanel::areRepliesShown());
            EXPECT_TRUE(DialogPanel::currentReplies.empty());
        }
    }
    // Keys wait while the replies are not shown.
    open("keys");
    Hud::uiObject("dialog")->setVisible(false);
    DialogPanel::handleReplyKey(DIGIT_0 + 1);
    EXPECT_EQ(chosen(), "");
}

TEST_F(ReplyMenu, AClickChoosesItsLabelsReplyAndALabelOfNoReplyDoesNothing) {
    // A real click on the lowest label: its reply runs (and, done, brings the menu back).
    open("keys");
    game->clickGui(213, 311);
    EXPECT_EQ(var("oxygen_checked"), "3");

    open("keys");
    label(2)->triggerEvent("Click", 0, 0, "");
    EXPECT_EQ(chosen(), "ASK_COURSE");
    DialogManager::enterNode(dialog("keys"));
    DialogPanel::handleReplyKey(DIGIT_0 + 1);
    Dialog* afterKey = DialogManager::currentNode;
    label(1)->triggerEvent("Click", 0, 0, "");
    EXPECT_EQ(DialogManager::currentNode, afterKey);
}

// A reply that leads on to a menu at once keeps that menu's replies, chosen by click or by key.
TEST_F(ReplyMenu, AReplyThatRedirectsAtOnceLeavesTheNextMenuToChooseFrom) {
    for (bool byKey : {false, true}) {
        open("on");
        if (byKey) {
            DialogPanel::handleReplyKey(DIGIT_0 + 1);
        } else {
            label(0)->triggerEvent("Click", 0, 0, "");
        }
        EXPECT_EQ(DialogManager::currentNode, dialog("keys")) << byKey;
        EXPECT_EQ(currentReplies(), (std::vector<std::string>{"ASK_COURSE", "ASK_SYSTEMS", "SAY_GOODBYE"})) << byKey;
        EXPECT_TRUE(DialogPanel::areRepliesShown()) << byKey;
        DialogPanel::handleReplyKey(DIGIT_0 + 3);
        EXPECT_EQ(chosen(), "SAY_GOODBYE") << byKey;
    }
}

TEST_F(ReplyMenu, TheRepliesShakeThreeTimesAndComeToRest) {
    open("keys");
    DialogPanel::shakeTimer = 0.628f;
    nimboui::Object* container = Hud::uiObject("reply_container");
    for (float left = 0.628f - 0.1f; left > 0.0f; left -= 0.1f) {
        DialogPanel::update(0.1f);
        EXPECT_NEAR(container->getX(), 10.0f * std::fabs(std::sin(15.0f * left)), 1e-3) << left;
    }
    DialogPanel::update(0.1f);
    EXPECT_LE(DialogPanel::shakeTimer, 0.0f);
    EXPECT_FLOAT_EQ(container->getX(), 0.0f);
}

TEST_F(ReplyMenu, LongRepliesShrinkUntilTheyFitAndWrapPastTheSmallestScale) {
    auto height = [](const String& font, const String& text) {
        return runel::renderer->getTextHeight(font, text, 416.0f);
    };
    EXPECT_EQ(DialogPanel::fitReplyFont("Short.", 1.0f), "hheaven:1");
    EXPECT_EQ(DialogPanel::fitReplyFont("Short.", 1.3f), "hheaven:1.3");
    String longer = "1: Is that the coolant pipe hissing in the corridor, or is it the air recycler?";
    String fitted = DialogPanel::fitReplyFont(longer, 1.0f);
    EXPECT_LT(fitted, "hheaven:1");
    EXPECT_FLOAT_EQ(height(fitted, longer), height(fitted, "X"));
    String endless;
    for (int i = 0; i < 12; ++i) {
        endless += "far too many words for one line ";
    }
    String smallest = DialogPanel::fitReplyFont(endless, 1.3f);
    EXPECT_TRUE(smallest.startsWith("hheaven:0.67")) << smallest;
    EXPECT_GT(height(smallest, endless), height(smallest, "X"));
}

TEST_F(ReplyMenu, AMenuOfMoreThanTwentyRepliesShowsTheFirstTwentyAndSaysSo) {
    std::string xml = "<D><Menu name=\"big\">";
    for (int i = 0; i < 22; ++i) {
        xml += "<Reply text=\"R" + std::to_string(i) + "\"/>";
    }
    addDialogs(xml + "</Menu></D>");
    open("big");
    EXPECT_EQ(DialogPanel::currentReplies.size(), 20u);
    EXPECT_EQ(shownReplies().size(), 20u);
    EXPECT_EQ(DialogPanel::currentReplies.back()->text, "R19");
    EXPECT_NE(game->log().find("[vorne] ERROR! Menu 'big' offers 22 replies; only the first 20 are shown"),
              std::string::npos);
}

TEST_F(ReplyMenu, ASkipAdvancesTheLineByWhatItSkippedUnlessSomethingForbidsIt) {
    struct Row {
        const char* state;
        std::function<void()> set;
        bool skips;
    } rows[] = {
        {"a line", [] {}, true},
        {"text mode", [] { Vars::set("textmode_exception", "1"); }, false},
        {"replies shown", [] { label(0)->setVisible(true); }, false},
        {"nothing spoken", [] { Speech::clear(); }, false},
        {"a line outside a conversation", [] { DialogManager::forget(); }, true},
    };
    for (const Row& row : rows) {
        talk("intercom");
        row.set();
        Dialog* line =
            DialogManager::currentNode ? static_cast<DialogSequence*>(dialog("intercom"))->children[0] : nullptr;
        float before = line ? line->time : 0.0f;
        DialogPanel::skipSpeechLine();
        bool skipped = line ? line->time < before : !Speech::isSpeaking();
        EXPECT_EQ(skipped, row.skips) << row.state;
        Vars::set("textmode_exception", "0");
        label(0)->setVisible(false);
        DialogManager::forget();
        Speech::clear();
    }
}

TEST_F(ReplyMenu, ALineIsTakenInTheCharactersVariantAndSpokenAsTheCharacterAVariableNames) {
    textMultiplier = 2.0f;
    for (const char* character : {"vorne", "luna"}) {
        Vars::set("current_character", character);
        talk("intercom");
        DialogPanel::skipSpeechLine();
        auto* hello = static_cast<DialogEntry*>(static_cast<DialogSequence*>(dialog("intercom"))->children[1]);
        vessot::String text = Session::activeScene->chapter->getText("CAPTAIN_HELLO-" + vessot::String(character));
        EXPECT_EQ(saying(character), text);
        EXPECT_FLOAT_EQ(hello->time, 14.0f);
        EXPECT_NE(game->log().find("[vorne] Dialog: CAPTAIN_HELLO\n"), std::string::npos);
        DialogManager::forget();
        Speech::clear();
    }
}

} // namespace
