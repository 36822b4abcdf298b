// Saving into a slot, the autosave's rotation over six slots, and loading with its refusals, on the
// running game with a temporary user folder.
#include "SaveFixture.h"

#include "engine/session/GameUtil.h"
#include "script/Character2D.h"
#include "script/Inventory.h"
#include "ui/Menu.h"

#include "nimboui/nimboui.h"
#include "vessot/Log.h"

#include <csignal>
#include <functional>
#include <pwd.h>
#include <regex>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::map<String, String> values(const VariableTable& table) {
    std::map<String, String> all;
    for (const auto& [name, variable] : table.variables) {
        all[name] = variable.value;
    }
    return all;
}

// A job that never ends.
class Endless : public Marionix::Job {
public:
    Marionix::Job* clone() const override { return new Endless(); }
    void update(float) override {}
    bool isDone() override { return false; }
    String getTypeName() const override { return "Endless"; }
    void start() override {}
};

Character2D* vorne() {
    return dynamic_cast<Character2D*>(charactersChapter->getObject("vorne"));
}

fs::path autosave(int k) {
    return slot("autosave/slot" + std::to_string(k));
}

// No file may grow past the size: a write beyond it fails as on a full disk.
void limitFiles(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{bytes, RLIM_INFINITY};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

// The disk fills up during the next save of the table: its values grow by a megabyte, the log by less.
void fillDisk(VariableTable& table) {
    table.getOrCreate("filler")->setValue(std::string(1 << 20, 'x'), true);
    limitFiles(fs::file_size(vessot::Log::getFilename().c_str()) + (1 << 18));
}

// Slot 3 is out of reach when the autosave is about to move it.
void holdSlot3(const String& point) {
    if (point == "before moving autosave/slot3 to autosave/slot4") {
        fs::rename(autosave(3), slot("held"));
    }
}

} // namespace

using SaveGame = SaveFixture;

TEST_F(SaveGame, InfoTxtNamesTheSceneTheDateAndThePlayTimeInWholeMinutes) {
    for (auto [seconds, minutes] : {std::pair{"3599", "59"}, std::pair{"3600", "60"}}) {
        set("gameplay_time", seconds);
        ASSERT_TRUE(SaveLoadMenu::saveGame("slot2", false, false));
        std::vector<std::string> info = linesOf(readFile(slot("slot2") / "info.txt"));
        ASSERT_EQ(info.size(), 4u);
        EXPECT_EQ(info[0], "zeph_save_fmt_1.0");
        EXPECT_EQ(info[1], "ship.Cockpit");
        EXPECT_TRUE(std::regex_match(info[2], std::regex(R"(\d\d/\d\d/\d{4} \d\d:\d\d)"))) << info[2];
        EXPECT_EQ(info[3], minutes);
        EXPECT_NE(readFile(slot("slot2") / "game.sav").find("gameplay_time: " + std::string(seconds) + "\n"),
                  std::string::npos);
    }
}

TEST_F(SaveGame, EachSaveKeepsTheNewestFiveCopiesOfTheLog) {
    for (int save = 1; save <= 6; ++save) {
        GameUtil::logMessage("save number " + String(save));
        ASSERT_TRUE(SaveLoadMenu::saveGame("slot2", false, false));
        int copies = std::min(save, 5);
        for (int i = 1; i <= 6; ++i) {
            EXPECT_EQ(fs::exists(slot("slot2") / ("game.log." + std::to_string(i))), i <= copies) << save << " " << i;
        }
        EXPECT_NE(readFile(slot("slot2") / "game.log.1").find("save number " + std::to_string(save)),
                  std::string::npos);
    }
    // The oldest copy kept is the one of the second save.
    std::string oldest = readFile(slot("slot2") / "game.log.5");
    EXPECT_NE(oldest.find("save number 2"), std::string::npos);
    EXPECT_EQ(oldest.find("save number 3"), std::string::npos);
}

TEST_F(SaveGame, AManualSaveReturnsToTheGameSceneAndNamesIt) {
    struct Case {
        const char* slPrevScene;
        const char* inGameMenuPrevScene;
        const char* expected;
        const char* lunaScene; // where she has not stood yet, or no scene
    };
    for (const Case& c : {Case{"ui.InGameMenu", "ship.Galley", "ship.Galley", "ship.CargoHold"},
                          Case{"ship.Corridor", "ship.Galley", "ship.Corridor", ""}}) {
        set("sl_prev_scene", c.slPrevScene);
        set("ingame_menu_prev_scene", c.inGameMenuPrevScene);
        switchNow(c.expected);
        vorne()->placeAt("NE", 140.6f, 281.2f);
        set("luna_scene", c.lunaScene);
        set("luna_pos", "90,290,W"); // from where she stood before
        switchNow("ui.SaveLoadMenu");
        Lifetime::Scope scope;
        ASSERT_TRUE(SaveLoadMenu::saveGame("slot2", true, true));
        EXPECT_EQ(var("active_scene"), c.expected);
        EXPECT_EQ(linesOf(readFile(slot("slot2") / "info.txt"))[1], c.expected);
        // The characters' positions are recorded first.
        EXPECT_NE(readFile(slot("slot2") / "game.sav").find("vorne_pos: 140,281,NE\n"), std::string::npos);
        EXPECT_EQ(readFile(slot("slot2") / "game.sav").find("luna_pos"), std::string::npos);
    }
}

TEST_F(SaveGame, APendingQuestionIsEmptiedInBothStoresAndNeverSaved) {
    set("cdialog", "INGAME_QUIT_GAME_DIALOG,ui.ingame_quit,none");
    Vars::snapshot.get("cdialog")->setValue("INGAME_QUIT_GAME_DIALOG,ui.ingame_quit,none");
    ASSERT_TRUE(SaveLoadMenu::saveGame("slot2", false, false));
    EXPECT_EQ(var("cdialog"), "");
    EXPECT_EQ(Vars::snapshot.get("cdialog")->getValue(), "");
    EXPECT_EQ(readFile(slot("slot2") / "game.sav").find("cdialog"), std::string::npos);
}

TEST_F(SaveGame, AFailedSaveAsksWithTheReasonAndKeepsWhatItDidNotMake) {
    struct Case {
        const char* name;
        std::function<void()> prepare;
        const char* reason;
    };
    const Case cases[] = {
        // No folder can be made where a file stands, nor can a slot moved aside be put back: it stays.
        {"NewSlot",
         [] {
             writeFile(slot("slot5"), "a file");
             writeSlot("slot5.old", "ship.Galley", 3);
         },
         "slot5: the folder could not be made (File exists)"},
        {"FullDisk",
         [] {
             writeSlot("slot5", "ship.Galley", 7);
             fillDisk(Vars::variables);
         },
         "Writing slot5/game.sav failed: File too large"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(slot("slot5"));
        fs::remove_all(slot("slot5.old"));
        c.prepare();
        auto infos = [] { return readFile(slot("slot5") / "info.txt") + readFile(slot("slot5.old") / "info.txt"); };
        std::string info = infos();
        set("cdialog", "");
        int visits = var("cockpit_visits").toInt();
        EXPECT_FALSE(SaveLoadMenu::saveGame("slot5", false, false));
        limitFiles(RLIM_INFINITY);
        EXPECT_EQ(var("cdialog"), "SL_SAVE_FAILED,none,none");
        String shown = label("cdialog_text")->getDisplayedText();
        EXPECT_NE(shown.find("\n\n"), String::npos);
        EXPECT_NE(shown.find(c.reason), String::npos) << shown;
        EXPECT_FALSE(shown.contains(zephUtil::getUserDataPath()) || shown.contains("//")) << shown;
        EXPECT_NE(game->log().find("SaveGame failed ( "), std::string::npos);
        EXPECT_EQ(var("inv_ignore_notifications"), "0");
        EXPECT_EQ(var("diary_ignore_notifications"), "0");
        EXPECT_EQ(var("cockpit_visits").toInt(), visits + 1); // the scene was entered again
        // What stood there before stands there still.
        EXPECT_TRUE(fs::exists(slot("slot5")));
        EXPECT_EQ(infos(), info);
    }
}

TEST_F(SaveGame, TheAutosaveMovesTheUnbrokenRunOfSlotsUpAndWritesTheFirst) {
    struct Case {
        std::vector<int> before;
        // What stands in autosave slot k + 1 afterwards: the save that stood in that slot before, 0
        // for the new one, -1 for nothing.
        std::vector<int> after;
        std::function<void()> spoil = [] {};
        // What a failed autosave says.
        const char* reason = "";
    };
    const Case cases[] = {
        {{}, {0, -1, -1, -1, -1, -1}},
        {{1, 2, 3}, {0, 1, 2, 3, -1, -1}},
        {{1, 2, 3, 4, 5, 6}, {0, 1, 2, 3, 4, 5}},
        {{1, 2, 3, 5, 6}, {0, 1, 2, 3, 5, 6}},
        // Slot 1's copies of the log move up with it; the new one holds its own copy only.
        {{1, 2, 3}, {0, 1, 2, 3, -1, -1}, [] { writeFile(autosave(1) / "game.log.1", "slot 1's log\n"); }},
        // What an autosave cut short left beside the slots goes; nothing of it rides into slot 1.
        {{1, 2, 3, 4, 5, 6},
         {0, 1, 2, 3, 4, 5},
         [] {
             writeSlot("autosave/old", "ship.Galley", 9);
             writeFile(slot("autosave/new") / "game.log.3", "a log of the save cut short\n");
         }},
        // A new autosave that cannot be written whole moves and removes nothing.
        {{1, 2, 3, 4, 5, 6},
         {1, 2, 3, 4, 5, 6},
         [] { fillDisk(Vars::snapshot); },
         "Writing autosave/slot1/game.sav failed: File too large"},
        // Slot 1 cannot move up where a file stands: it is kept, not overwritten.
        {{1},
         {1, -1, -1, -1, -1, -1},
         [] { writeFile(autosave(2), "a file"); },
         "autosave/slot1 could not be moved to autosave/slot2 (File exists)"},
        // Slot 3 cannot move (out of reach for a moment): every move made is put back, the sixth's too.
        {{1, 2, 3, 4, 5, 6},
         {1, 2, 3, 4, 5, 6},
         [] { SaveLoadMenu::testKillPoint = holdSlot3; },
         "autosave/slot3 could not be moved to autosave/slot4 (No such file or directory)"},
    };
    for (const Case& c : cases) {
        fs::remove_all(slot("autosave"));
        for (int k : c.before) {
            writeSlot("autosave/slot" + std::to_string(k), "ship.Galley", k, "marker: " + std::to_string(k) + "\n");
        }
        c.spoil();
        SaveLoadMenu::autoSave();
        limitFiles(RLIM_INFINITY);
        SaveLoadMenu::testKillPoint = nullptr;
        if (fs::exists(slot("held"))) {
            fs::rename(slot("held"), autosave(3));
        }
        EXPECT_EQ(var("cdialog").empty(), !*c.reason);
        EXPECT_TRUE(label("cdialog_text")->getDisplayedText().contains(c.reason));
        EXPECT_FALSE(fs::exists(slot("autosave/new")) || fs::exists(slot("autosave/old")));
        for (int k = 1; k <= 6; ++k) {
            int expected = c.after[k - 1];
            SCOPED_TRACE("slot " + std::to_string(k));
            ASSERT_EQ(fs::is_directory(autosave(k)), expected >= 0);
            std::string save = expected >= 0 ? readFile(autosave(k) / "game.sav") : "";
            if (expected > 0) {
                EXPECT_EQ(save, "marker: " + std::to_string(expected) + "\n");
            } else if (expected == 0) {
                EXPECT_NE(save.find("active_scene: ship.Cockpit\n"), std::string::npos);
                // Its own files: game.sav, info.txt and the log's copy.
                EXPECT_EQ(std::distance(fs::directory_iterator(autosave(k)), fs::directory_iterator()), 3);
            }
        }
    }
}

TEST_F(SaveGame, TheAutosaveWritesTheSnapshotAndNotesItsPlayTimeInBothStores) {
    set("gameplay_time", "1200");
    set("console_on", "1");
    Vars::snapshot = Vars::variables;
    set("gameplay_time", "1205");
    set("console_on", "0");
    set("cdialog", "INGAME_QUIT_GAME_DIALOG,ui.ingame_quit,none");
    SaveLoadMenu::autoSave();
    std::string save = readFile(autosave(1) / "game.sav");
    EXPECT_NE(save.find("last_autosave_time: 1200\n"), std::string::npos);
    EXPECT_NE(save.find("console_on: 1\n"), std::string::npos);
    EXPECT_EQ(var("last_autosave_time"), "1205");
    EXPECT_EQ(var("console_on"), "0");
    EXPECT_EQ(var("cdialog"), ""); // a pending live question is cleared
    EXPECT_GT(object("autosaved_label")->getAlpha(), 0.0f);
    EXPECT_EQ(label("autosaved_label")->getTextKey(), "saved_label");
}

TEST_F(SaveGame, TheAutosaveWritesNothingInTheInterfaceAndFrontEndChapters) {
    makeChapter("menu", "Start");
    makeChapter("intro", "Start");
    set("gameplay_time", "900");
    for (const char* scene : {"ui.InGameMenu", "menu.Start", "intro.Start"}) {
        switchNow(scene);
        SaveLoadMenu::autoSave();
        EXPECT_FALSE(fs::exists(slot("autosave"))) << scene;
        EXPECT_EQ(var("last_autosave_time"), "0") << scene;
    }
}

TEST_F(SaveGame, AFailedAutosaveKeepsTheOlderSlotsAndAsksOnceInTheLiveStore) {
    writeFile(slot("autosave/slot1"), "a file where the newest slot goes");
    for (int k = 2; k <= 6; ++k) {
        writeSlot("autosave/slot" + std::to_string(k), "ship.Galley", k, "marker: " + std::to_string(k) + "\n");
    }
    int visits = var("cockpit_visits").toInt();
    SaveLoadMenu::autoSave();
    for (int k = 2; k <= 6; ++k) {
        EXPECT_EQ(readFile(autosave(k) / "game.sav"), "marker: " + std::to_string(k) + "\n");
    }
    EXPECT_EQ(var("cdialog"), "SL_SAVE_FAILED,none,none");
    EXPECT_EQ(Vars::snapshot.get("cdialog")->getValue(), "");
    String shown = label("cdialog_text")->getDisplayedText();
    const char reason[] = "autosave/slot1: the folder could not be made";
    EXPECT_EQ(shown.find(reason), shown.rfind(reason));
    EXPECT_NE(shown.find(reason), String::npos);
    EXPECT_EQ(var("cockpit_visits").toInt(), visits); // no scene entered again
    EXPECT_EQ(object("autosaved_label")->getAlpha(), 0.0f);
}

// A folder the player cannot empty, left by a save cut short or by a run of another user: of mode 000
// though the player owns it, or another user's. Root empties any folder: tests that run as root
// play the player as "nobody" and leave root's folders.
TEST_F(SaveGame, AFolderThePlayerCannotRemoveRefusesNoSaveAndBringsNoDeletedCardBack) {
    auto holdsTheGame = [](const char* name) {
        return readFile(slot(name) / "game.sav").find("Cockpit") != std::string::npos;
    };
    auto saves = [&] {
        return SaveLoadMenu::saveGame("slot2", false, false) && SaveLoadMenu::autoSave() && holdsTheGame("slot2") &&
               holdsTheGame("autosave/slot1");
    };
    auto deletesTheCard = [] {
        SaveLoadMenu::deleteSlot("slot2");
        SaveLoadMenu::tidySlots(); // the next entry of a menu
        return !fs::exists(slot("slot2"));
    };
    auto deletesTheProfile = [] {
        Menu::onPMDeleteOk(nullptr);
        SaveLoadMenu::tidySlots(); // the next profile 1's
        return !fs::exists(slot("slot2"));
    };
    // Whether a folder but the slots stands in the profile's folder or beside the autosaves.
    auto anythingBeside = [] {
        std::error_code none; // a profile deleted has no "autosave"
        for (const fs::path& folder : {profile(), profile() / "autosave"}) {
            for (const auto& entry : fs::directory_iterator(folder, none)) {
                std::string name = entry.path().filename().string();
                if (entry.is_directory() && !std::regex_match(name, std::regex("slot\\d+|autosave"))) {
                    return true;
                }
            }
        }
        return false;
    };
    const std::pair<const char*, std::function<bool()>> cases[] = {
        {"slot2.new", saves},
        {"slot2.old", saves},
        {"autosave/new", saves},
        {"autosave/old", saves},
        {"slot2.old", deletesTheCard},
        {"slot2", deletesTheCard},
        {"slot2.old", deletesTheProfile},
    };
    SaveLoadMenu::testWithoutExchange = true; // where "slot2.old" is used
    const bool root = geteuid() == 0;
    passwd* player = root ? getpwnam("nobody") : getpwuid(geteuid());
    for (int others = 0; others <= (int)root; ++others) {
        for (const auto& [leftover, act] : cases) {
            SCOPED_TRACE(std::string(leftover) + (others ? " of another user" : " of mode 000"));
            fs::remove_all(profile());
            for (int k = 1; k <= 6; ++k) {
                writeSlot("autosave/slot" + std::to_string(k), "ship.Galley", k);
            }
            writeSlot("slot2", "ship.Galley", 1);
            writeSlot(leftover, "ship.Galley", 1);
            for (const auto& entry : fs::recursive_directory_iterator(profile())) {
                bool theirs = others && entry.path().string().rfind(slot(leftover).string(), 0) == 0;
                ::lchown(entry.path().c_str(), theirs ? 0 : player->pw_uid, -1);
            }
            ::chown(profile().c_str(), player->pw_uid, -1);
            fs::permissions(slot(leftover), others ? fs::perms::owner_all : fs::perms::none);
            if (root && (setegid(player->pw_gid) != 0 || seteuid(player->pw_uid) != 0)) {
                GTEST_SKIP() << "root cannot act as nobody here";
            }
            bool done = act();
            if (root) {
                ASSERT_EQ(seteuid(0), 0);
                ASSERT_EQ(setegid(0), 0);
            }
            EXPECT_TRUE(done);
            EXPECT_EQ(anythingBeside(), others == 1); // the player's own goes, another user's moves out of the way
        }
    }
}

TEST_F(SaveGame, LoadingRestoresTheSlotsSceneVariablesAndItems) {
    struct Case {
        const char* name;
        const char* save;
        const char* scene;
        const char* position = "120,280,E";
    };
    const Case cases[] = {
        {"LoadedChapter",
         "active_scene: ship.Galley\ncdialog: SL_SAVE_FAILED,no_such_action,none\nconsole_on: 1\nitems: fuse\n"
         "vorne_pos: 120,280,E\nvorne_scene: ship.Galley\n",
         "ship.Galley"},
        // Lines end in "\r\n" and one line holds no ": ", as files edited elsewhere may.
        {"UnloadedChapter",
         "active_scene: jama_spacea.Landing\r\nconsole_on: 1\r\nstray line\r\nitems: fuse\r\nvorne_pos: "
         "120,280,E\r\nvorne_scene: jama_spacea.Landing\r\n",
         "jama_spacea.Landing"},
        // No position saved: the scene places him as on a first visit.
        {"NoPosition", "active_scene: ship.Galley\nconsole_on: 1\nitems: fuse\nvorne_scene: ship.Galley\n",
         "ship.Galley", "80,300,E"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        switchNow("ship.Cockpit");
        writeSlot("slot2", c.scene, 1, c.save);
        Inventory::addItem("keycard");
        set("console_on", "0");
        set("inv_ignore_notifications", "1");
        vorne()->placeAt("W", 300, 300);
        vorne()->insertJob(0, new Endless());
        Lifetime::Scope scope;
        SaveLoadMenu::loadGame("slot2");
        EXPECT_EQ(var("active_scene"), c.scene);
        EXPECT_EQ(var("console_on"), "1");
        EXPECT_EQ(var("items"), "fuse");
        EXPECT_TRUE(Inventory::hasItem("fuse"));
        EXPECT_FALSE(Inventory::hasItem("keycard"));
        EXPECT_EQ(var("inv_ignore_notifications"), "0");
        EXPECT_EQ(var("cdialog"), ""); // a saved question is dropped
        EXPECT_EQ(values(Vars::snapshot), values(Vars::variables));
        // Every character back where the slot puts it, in its scene, with nothing to do.
        EXPECT_EQ(String((int)vorne()->getX()) + "," + String((int)vorne()->getY()) + "," + vorne()->getOrientation(),
                  c.position);
        EXPECT_EQ(vorne()->getLastAttachScene(), c.scene);
        EXPECT_EQ(vorne()->getJobQueueSize(), 0u);
    }
}

TEST_F(SaveGame, ASlotThatCannotBeLoadedIsRefusedBeforeAnythingChanges) {
    struct Case {
        const char* name;
        std::function<void()> prepare;
        const char* reason;
    };
    const Case cases[] = {
        {"Missing", [] {}, "slot2/game.sav does not exist"},
        {"Empty", [] { writeFile(slot("slot2") / "game.sav", ""); }, "names no active_scene"},
        {"NoActiveScene", [] { writeFile(slot("slot2") / "game.sav", "console_on: 0\n"); }, "names no active_scene"},
        {"NoChapter", [] { writeSlot("slot2", "Galley", 1); }, "names no chapter and scene"},
        {"UnknownChapter", [] { writeSlot("slot2", "atlantis.Gate", 1); }, "there is no chapter 'atlantis'"},
        {"UnknownSceneOfALoadedChapter", [] { writeSlot("slot2", "ship.Bridge", 1); }, "has no scene 'Bridge'"},
        {"UnknownSceneOfAnUnloadedChapter", [] { writeSlot("slot2", "jama_spacea.Crater", 1); },
         "has no scene 'Crater'"},
        // Of a repeated line the last counts, as on loading.
        {"RepeatedLine",
         [] { writeSlot("slot2", "ship.Galley", 1, "active_scene: ship.Galley\nactive_scene: ship.Bridge\n"); },
         "has no scene 'Bridge'"},
        {"Unopenable", // a socket where the file goes
         [] {
             fs::create_directories(slot("slot2"));
             ::mknod((slot("slot2") / "game.sav").c_str(), S_IFSOCK | 0600, 0);
         },
         "Cannot open slot2/game.sav"},
        {"NoCharacter",
         [] { writeSlot("slot2", "ship.Galley", 1, "active_scene: ship.Galley\ncurrent_character: bob\n"); },
         "slot2/game.sav: current_character 'bob': it is not a character"},
        {"NoPlayableCharacter",
         [] { writeSlot("slot2", "ship.Galley", 1, "active_scene: ship.Galley\ncurrent_character: dummy\n"); },
         "current_character 'dummy': it has no variable dummy_items"},
        {"ACharacterInAMissingScene",
         [] { writeSlot("slot2", "ship.Galley", 1, "active_scene: ship.Galley\nluna_scene: ship.Bridge\n"); },
         "luna_scene 'ship.Bridge': chapter 'ship' has no scene 'Bridge'"},
        {"DuringATransition",
         [] {
             writeSlot("slot2", "ship.Galley", 1);
             Session::switchScene("Corridor", "fade", "", 100.0f);
         },
         "a scene transition is running"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(slot("slot2"));
        set("cdialog", "");
        set("console_on", "1");
        c.prepare();
        SaveLoadMenu::loadGame("slot2");
        EXPECT_EQ(var("cdialog"), "SL_LOAD_FAILED,none,none");
        EXPECT_NE(game->log().find("ERROR! loadGame: "), std::string::npos);
        EXPECT_NE(game->log().find(c.reason), std::string::npos);
        String shown = label("cdialog_text")->getDisplayedText();
        EXPECT_NE(shown.find(c.reason), String::npos);
        EXPECT_FALSE(shown.contains(zephUtil::getUserDataPath()) || shown.contains("//")) << shown;
        EXPECT_EQ(var("active_scene"), "ship.Cockpit");
        EXPECT_EQ(var("console_on"), "1");
        EXPECT_TRUE(nimboui::getDatasetByName("ship")->isLoaded());
        EXPECT_FALSE(nimboui::getDatasetByName("jama_spacea")->isLoaded());
    }
}
