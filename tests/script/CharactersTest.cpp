// The playable characters on the running game: the animations derived when the characters chapter
// loads, the current character and its reference, the busy test and the character switch.
#include "engine/RunningGame.h"
#include "script/Actions.h"
#include "script/Character2DRef.h"
#include "script/Speech.h"
#include "script/ZephJobs.h"

#include "trailex/Map.h"

#include "nimboui/CompositeImage.h"

namespace {

class Characters_ : public RunningGame {
protected:
    static nimboui::CompositeImage* frame(const std::string& name) {
        return dynamic_cast<nimboui::CompositeImage*>(charactersChapter->findImage(name));
    }
    static std::string numbered(const std::string& animation, int n) {
        return animation + (n < 10 ? ".0" : ".") + std::to_string(n);
    }
};

const char* const DIRECTIONS[] = {"N", "NE", "E", "SE", "S", "SW", "W", "NW"};

TEST_F(Characters_, ReversedAnimationsPlayTheirSourceBackwardsInEveryDirection) {
    const std::tuple<const char*, const char*, int> reversed[] = {
        {"vorne/Take", "vorne/TakeBack", 5},
        {"danny/Take", "danny/TakeBack", 9},
        {"luna/Take", "luna/TakeBack", 6},
        {"vorne/Draw_Gun", "vorne/Draw_Gun_Back", 10},
    };
    for (auto [source, target, count] : reversed) {
        for (const char* d : DIRECTIONS) {
            std::string from = std::string(source) + "_" + d;
            std::string to = std::string(target) + "_" + d;
            SCOPED_TRACE(to);
            ASSERT_EQ(frame(numbered(from, count + 1)), nullptr); // the data has exactly that many
            for (int n = 1; n <= count; ++n) {
                nimboui::CompositeImage* copy = frame(numbered(to, n));
                nimboui::CompositeImage* original = frame(numbered(from, count + 1 - n));
                ASSERT_NE(copy, nullptr) << n;
                ASSERT_NE(original, nullptr) << n;
                EXPECT_EQ(copy->getImageRefs()[0].image, original->getImageRefs()[0].image);
                EXPECT_EQ(copy->getImageRefs()[0].rect, original->getImageRefs()[0].rect);
            }
            EXPECT_EQ(frame(numbered(to, count + 1)), nullptr);
        }
    }
    // The other characters of the table are not in this game: nothing is made for them.
    EXPECT_EQ(frame("kralek/Walk_S.01"), nullptr);
    EXPECT_EQ(frame("she/DrawGunBack_S.01"), nullptr);
}

TEST_F(Characters_, LunasWestwardWalksAreHerEastwardWalksMirrored) {
    const std::tuple<const char*, const char*, float> mirrored[] = {
        {"Walk_E", "Walk_W", 0}, {"Walk_NE", "Walk_NW", -10}, {"Walk_SE", "Walk_SW", 0}};
    for (auto [source, target, offset] : mirrored) {
        for (int n = 1; n <= 8; ++n) {
            SCOPED_TRACE(numbered(target, n));
            nimboui::CompositeImage* from = frame(numbered(std::string("luna/") + source, n));
            nimboui::CompositeImage* to = frame(numbered(std::string("luna/") + target, n));
            ASSERT_NE(to, nullptr);
            const nimboui::ImageRef& a = from->getImageRefs()[0];
            const nimboui::ImageRef& b = to->getImageRefs()[0];
            EXPECT_EQ(b.image, charactersChapter->findImage(numbered(std::string("_luna/") + target, n)));
            EXPECT_TRUE(b.image->isInvertedX());
            EXPECT_FALSE(b.image->isInvertedY());
            EXPECT_EQ(b.image->getSrcRect(), a.image->getSrcRect());
            EXPECT_EQ(b.image->getTexture(), a.image->getTexture());
            EXPECT_EQ(b.rect, morvec::Rectangle(72 - a.rect.x - a.rect.w + offset, a.rect.y, a.rect.w, a.rect.h));
        }
        EXPECT_EQ(frame(numbered(std::string("luna/") + target, 9)), nullptr);
    }
}

TEST_F(Characters_, DerivingStopsAtTheFirstMissingFrameAndBeforeFrameZero) {
    // A frame whose part stands at x 10, 50 wide, in a composite 100 wide.
    auto* part = new nimboui::Image(nullptr, "_t/M_E.01", morvec::Rectangle(0, 0, 50, 70));
    auto* composite = new nimboui::CompositeImage("t/M_E.01", 100, 80);
    composite->addImageRef(part, morvec::Rectangle(10, 5, 50, 70));
    charactersChapter->registerManualImage(part);
    charactersChapter->registerManualImage(composite);
    Characters::mirrorAnimation("t/M_E", "t/M_W", 0);
    Characters::mirrorAnimation("t/M_E", "t/M_NW", -10);
    EXPECT_EQ(frame("t/M_W.01")->getImageRefs()[0].rect.x, 40);
    EXPECT_EQ(frame("t/M_NW.01")->getImageRefs()[0].rect.x, 30);
    EXPECT_EQ(frame("t/M_W.02"), nullptr);

    // Reversing with a count below the frame count stops before frame 00.
    Characters::reverseAnimation("vorne/Take", "vorne/Short", 3);
    EXPECT_EQ(frame("vorne/Short_S.01")->getImageRefs()[0].image, frame("vorne/Take_S.03")->getImageRefs()[0].image);
    EXPECT_EQ(frame("vorne/Short_S.03")->getImageRefs()[0].image, frame("vorne/Take_S.01")->getImageRefs()[0].image);
    EXPECT_EQ(charactersChapter->findImage("vorne/Short_S.00"), nullptr);
    EXPECT_NE(game->log().find("copying vorne/Take_S to vorne/Short_S: more source frames than target frames, "
                               "stopped at vorne/Take_S.04"),
              std::string::npos);
}

TEST_F(Characters_, TheCurrentCharacterIsTheOneTheActiveSceneShows) {
    Character2D* vorne = Characters::getCurrentCharacter();
    ASSERT_NE(vorne, nullptr);
    EXPECT_EQ(vorne, charactersChapter->getObject("vorne"));
    EXPECT_EQ(Characters::getCurrentCharacterRef()->getName(), "cockpit_vorne");
    EXPECT_EQ(Characters::findCharacterRef("luna"), nullptr);
    Vars::get("luna_scene")->setValue("ship.Corridor", true);
    switchNow("Corridor");
    EXPECT_EQ(Characters::findCharacterRef("luna")->getName(), "corridor_luna");
    switchNow("jama_spacea.Landing");
    Vars::get("current_character")->setValue("luna", true);
    EXPECT_EQ(Characters::getCurrentCharacter(), nullptr);
    EXPECT_EQ(Characters::getCurrentCharacterHeight(), 0.0f);
}

TEST_F(Characters_, ThePlayerIsBusyWhileLockedSkippableOrRunningAnythingButAWalkOrDialog) {
    struct Case {
        bool locked;
        const char* skip;
        const char* job;
        bool busy;
    };
    const Case cases[] = {
        {false, "0", nullptr, false}, {true, "0", nullptr, true},    {false, "outro", nullptr, true},
        {false, "", nullptr, false}, // an empty skip action counts as none
        {false, "0", "Move", false},  {false, "0", "Dialog", false}, {false, "0", "Say", true},
        {false, "0", "Pause", true},  {false, "0", "Animate", true},
    };
    Character2D* vorne = Characters::getCurrentCharacter();
    for (const Case& c : cases) {
        Session::sceneLocked = c.locked;
        Vars::get("skip_action")->value = c.skip;
        vorne->clearJobs();
        if (c.job) {
            vorne->addJob(new TestJob(c.job));
        }
        EXPECT_EQ(Characters::isPlayerBusy(), c.busy) << c.locked << " '" << c.skip << "' " << (c.job ? c.job : "");
    }
}

// What the listeners of "items" and "active_scene" saw of "switched_character" during a switch.
std::string seen;
void noteSwitched(Variable* variable, const String&, const String&) {
    seen += variable->name + "=" + Vars::value("switched_character") + " ";
}

TEST_F(Characters_, SwitchingStoresTheOldCharactersStateAndGoesToTheNewOnesScene) {
    seen.clear();
    Vars::get("items")->addListener(noteSwitched);
    Vars::get("active_scene")->addListener(noteSwitched);
    Vars::get("items")->setValue("wrench", true);
    Vars::get("luna_items")->value = "map";
    Vars::get("luna_scene")->value = "ship.Corridor";
    Character2D* vorne = Characters::getCurrentCharacter();
    vorne->addJob(new TestJob("Say"));
    seen.clear();

    Characters::switchCharacter("luna");
    EXPECT_EQ(vorne->getJobQueueSize(), 0u);
    EXPECT_EQ(var("vorne_items"), "wrench");
    EXPECT_EQ(var("vorne_scene"), "ship.Cockpit");
    EXPECT_EQ(var("current_character"), "luna");
    EXPECT_EQ(var("items"), "map");
    EXPECT_EQ(var("active_scene"), "ship.Corridor");
    EXPECT_EQ(seen, "items=0 active_scene=1 "); // the scene entered sees the switch in progress
    EXPECT_EQ(var("switched_character"), "0");
    EXPECT_EQ(var("inv_ignore_notifications"), "0");
    EXPECT_EQ(Characters::getCurrentCharacter(), charactersChapter->getObject("luna"));

    // The character already played, and names that are no character or lack their variables, change
    // nothing.
    Vars::variables.variables.erase("danny_items");
    std::string before = game->log();
    for (const char* name : {"luna", "ghost", "danny"}) {
        Characters::switchCharacter(name);
    }
    std::string added = game->log().substr(before.size());
    EXPECT_EQ(added, "[zeph] can't switch to character 'ghost': it is not a character\n"
                     "[zeph] can't switch to character 'danny': it has no variable danny_items\n");

    // Back to a character whose scene is the active one: the scene is entered again.
    Vars::get("vorne_scene")->value = "";
    int visits = var("cockpit_visits").toInt();
    switchNow("Cockpit");
    Characters::switchCharacter("vorne");
    EXPECT_EQ(var("active_scene"), "ship.Cockpit");
    EXPECT_EQ(var("cockpit_visits").toInt(), visits + 2);
    EXPECT_EQ(var("luna_scene"), "ship.Cockpit");
}

TEST_F(Characters_, TheCharacterButtonSkipsALineBeingSpoken) {
    nimboui::Object* button = uiChapter->getObject("character_button");
    ASSERT_TRUE(button->hasEvent("Click"));
    Speech::speechMap["vorne"] = {{"a line", 5.0f}};
    button->triggerEvent("Click", 0, 0, "");
    EXPECT_TRUE(Speech::speechMap.empty());
}

TEST_F(Characters_, EveryPlacementOfTheStoryScenesStandsOnTheirWalkMaps) {
    const char* const scenes[] = {"ship.Cockpit",    "ship.Corridor", "ship.Galley",
                                  "ship.Charts",     "ship.Kitchen",  "ship.CargoHold",
                                  "ship.EngineRoom", "ship.Router",   "jama_spacea.Landing"};
    for (const char* name : scenes) {
        SCOPED_TRACE(name);
        switchNow(name);
        const lba::Map& map = ZephJobs::getWalkMap(false);
        ASSERT_FALSE(map.getRegions().empty());
        int references = 0;
        for (nimboui::Object* child : Session::activeScene->root->getChildren()) {
            if (auto* reference = dynamic_cast<Character2DRef*>(child)) {
                ++references;
                EXPECT_TRUE(map.isPointIn(child->getPosition())) << child->getName();
                for (const CharacterPlacement& placement : reference->getPlacements()) {
                    EXPECT_TRUE(map.isPointIn({placement.position.x, placement.position.y})) << child->getName();
                }
            }
        }
        EXPECT_GT(references, 0);
        for (const auto& [id, action] : Session::activeScene->actions) {
            auto* command = dynamic_cast<Actions::CommandCharacter*>(action);
            for (size_t i = 0; command && i < command->getJobs().size(); ++i) {
                if (auto* walk = dynamic_cast<ZephJobs::SplineMove*>(command->getJobs()[i].prototype.get())) {
                    EXPECT_TRUE(map.isPointIn(walk->getTarget())) << std::hex << id;
                }
            }
        }
    }
}

} // namespace
