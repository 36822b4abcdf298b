// A save cut short: a child process ends (_exit) at each point where a save, the autosave's rotation
// or a card's deletion has written a file or is about to rename or has renamed one. Whatever then stands under a
// final name is a whole file of before or after the save, the slot the save replaced keeps its
// description once the slots are listed, and the next save over the leftovers succeeds. And the kill
// test's check of a user folder, which must see a slot mixed from two saves and an autosave lost.
#include "SaveFixture.h"

#include "PlayerFiles.h"
#include "TempDir.h"

#include <array>
#include <functional>
#include <map>
#include <regex>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Files = std::map<std::string, std::string>;

std::vector<String> points;
size_t stopAt = 0;

void recordPoint(const String& point) {
    points.push_back(point);
}

void stopAtPoint(const String&) {
    if (stopAt-- == 0) {
        _exit(0);
    }
}

// The date line of "info.txt" may differ from run to run; it is compared as a date.
std::string withoutDate(const std::string& info) {
    std::vector<std::string> lines;
    std::stringstream in(info);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    if (lines.size() != 4 || lines[2].size() != 16) {
        return "not four lines with a date: " + info;
    }
    return lines[0] + "\n" + lines[1] + "\n" + lines[3];
}

// The profile's files by path, "info.txt" without its date.
Files filesOf(const fs::path& folder) {
    Files files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            std::string text = readFile(entry.path());
            files[fs::relative(entry.path(), folder).string()] =
                entry.path().filename() == "info.txt" ? withoutDate(text) : text;
        }
    }
    return files;
}

void restore(const fs::path& from, const fs::path& to) {
    fs::remove_all(to);
    fs::copy(from, to, fs::copy_options::recursive);
}

// Every version of the slot files found before or after the save.
std::vector<std::string> versions(const Files& before, const Files& after, const std::string& name) {
    std::vector<std::string> found;
    for (const Files* files : {&before, &after}) {
        for (const auto& [path, text] : *files) {
            if (fs::path(path).filename() == name) {
                found.push_back(text);
            }
        }
    }
    return found;
}

struct Scenario {
    const char* name;
    std::function<void()> prepare;
    std::function<bool()> save;
    // The file the save writes; "" for a deletion.
    std::string written;
    // What must survive any cut: the description of a slot the save did not make, and the older
    // autosaves but the oldest.
    std::vector<std::string> keptFiles;
    std::vector<std::string> keptSaves;
    // Points the save passes: the way it takes.
    std::vector<std::string> passed = {};
};

// Whether a folder of before or after holds the description with the save.
bool savedTogether(const Files& before, const Files& after, const std::string& info, const std::string& save) {
    for (const Files* files : {&before, &after}) {
        for (const auto& [path, text] : *files) {
            auto saved = files->find((fs::path(path).parent_path() / "game.sav").string());
            if (fs::path(path).filename() == "info.txt" && text == info && saved != files->end() &&
                saved->second == save) {
                return true;
            }
        }
    }
    return false;
}

bool holds(const Files& files, const std::string& text) {
    for (const auto& [path, content] : files) {
        if (content == text) {
            return true;
        }
    }
    return false;
}

// A slot as the kill test's rounds write it, its description and its save of the rounds given.
void writeRound(const fs::path& slot, int infoRound, int saveRound) {
    writeFile(slot / "info.txt",
              "zeph_save_fmt_1.0\nship.Cockpit\n03/09/2021 17:05\n" + std::to_string(infoRound) + "\n");
    writeFile(slot / "game.sav", "gameplay_time: " + std::to_string(saveRound * 60) + "\n");
}

} // namespace

using SaveCrash = SaveFixture;

TEST_F(SaveCrash, EveryCutLeavesWholeFilesAndTheNextSaveSucceeds) {
    auto withLogCopies = [](const std::string& name) {
        for (int i = 1; i <= 5; ++i) {
            writeFile(slot(name) / ("game.log." + std::to_string(i)), "log copy " + std::to_string(i) + "\n");
        }
    };
    const Scenario scenarios[] = {
        {"OverAnExistingSlot",
         [&] {
             writeSlot("slot2", "ship.Galley", 1, "active_scene: ship.Galley\nmarker: old\n");
             withLogCopies("slot2");
         },
         [] { return SaveLoadMenu::saveGame("slot2", false, false); },
         "slot2/game.sav",
         {"slot2/info.txt"},
         {},
         {"after swapping slot2.new and slot2"}},
        // Where two folders cannot swap in one step, the slot moves aside before the new one takes
        // its place.
        {"OverAnExistingSlotWithoutTheExchange",
         [&] {
             writeSlot("slot2", "ship.Galley", 1, "active_scene: ship.Galley\nmarker: old\n");
             SaveLoadMenu::testWithoutExchange = true;
         },
         [] { return SaveLoadMenu::saveGame("slot2", false, false); },
         "slot2/game.sav",
         {"slot2/info.txt"},
         {},
         {"before moving slot2 to slot2.old", "before moving slot2.new to slot2"}},
        {"IntoANewSlot", [] {}, [] { return SaveLoadMenu::saveGame("slot3", false, false); }, "slot3/game.sav", {}, {}},
        {"AutosaveOverSixSlots",
         [&] {
             for (int k = 1; k <= 6; ++k) {
                 std::string name = "autosave/slot" + std::to_string(k);
                 writeSlot(name, "ship.Galley", k, "active_scene: ship.Galley\nmarker: " + std::to_string(k) + "\n");
                 withLogCopies(name);
             }
         },
         [] {
             SaveLoadMenu::autoSave();
             return var("cdialog").empty();
         },
         "autosave/slot1/game.sav",
         {},
         {"active_scene: ship.Galley\nmarker: 1\n", "active_scene: ship.Galley\nmarker: 2\n",
          "active_scene: ship.Galley\nmarker: 3\n", "active_scene: ship.Galley\nmarker: 4\n",
          "active_scene: ship.Galley\nmarker: 5\n"}},
        // A deleted card leaves the list at once, never half removed.
        {"DeletingACard",
         [&] {
             writeSlot("slot2", "ship.Galley", 1);
             withLogCopies("slot2");
         },
         [] {
             SaveLoadMenu::deleteSlot("slot2");
             return !fs::exists(slot("slot2"));
         },
         "",
         {},
         {}},
    };
    // A profile of its own folder: the test replaces the profile's whole folder, and profile 1's is
    // the user folder itself.
    Session::setParam("profile", "/_profile2");
    fs::path kept = fs::path(game->userFolder()) / "before";
    set("console_on", "1");
    Vars::snapshot = Vars::variables;
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        fs::remove_all(profile());
        fs::create_directories(profile());
        SaveLoadMenu::testWithoutExchange = false;
        s.prepare();
        Files before = filesOf(profile());
        restore(profile(), kept);

        points.clear();
        SaveLoadMenu::testKillPoint = recordPoint;
        ASSERT_TRUE(s.save());
        Files after = filesOf(profile());
        ASSERT_GE(points.size(), 2u);
        for (const std::string& point : s.passed) {
            EXPECT_EQ(std::count(points.begin(), points.end(), point), 1) << point;
        }
        // A save done leaves nothing beside the slots.
        for (const auto& [path, text] : after) {
            EXPECT_TRUE(std::regex_match(path, std::regex(R"((autosave/)?slot\d+/[^/]+)"))) << path;
        }

        for (size_t k = 0; k < points.size(); ++k) {
            SCOPED_TRACE(points[k]);
            restore(kept, profile());
            stopAt = k;
            SaveLoadMenu::testKillPoint = stopAtPoint;
            pid_t child = fork();
            if (child == 0) {
                s.save();
                _exit(1); // the point was never reached
            }
            int status = 0;
            ASSERT_EQ(waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
            SaveLoadMenu::testKillPoint = nullptr;

            Files cut = filesOf(profile());
            for (const auto& [path, text] : cut) {
                std::string name = fs::path(path).filename().string();
                EXPECT_FALSE(text.empty()) << path;
                if (name == "game.sav" || name == "info.txt") {
                    std::vector<std::string> known = versions(before, after, name);
                    EXPECT_NE(std::find(known.begin(), known.end(), text), known.end()) << path << ": " << text;
                }
                if (name == "game.sav") {
                    EXPECT_NE(text.find("active_scene: ship."), std::string::npos) << path;
                }
            }
            // The menu lists a slot by its description: a slot described has its save, the one the
            // description was written with.
            for (const auto& [path, text] : cut) {
                if (fs::path(path).filename() == "info.txt") {
                    auto saved = cut.find((fs::path(path).parent_path() / "game.sav").string());
                    ASSERT_NE(saved, cut.end()) << path;
                    EXPECT_TRUE(savedTogether(before, after, text, saved->second)) << path;
                }
            }
            // The slots as the menu lists them next.
            Scene* menu = uiChapter->getScene("SaveLoadMenu");
            menu->onEnter();
            menu->onLeave();
            Files listed = filesOf(profile());
            for (const std::string& path : s.keptFiles) {
                EXPECT_TRUE(listed.count(path)) << path;
            }
            for (const std::string& text : s.keptSaves) {
                EXPECT_TRUE(holds(cut, text)) << text;
            }
            // The next save over the leftovers.
            EXPECT_TRUE(s.save());
            EXPECT_EQ(filesOf(profile())[s.written], after[s.written]);
        }
    }
}

TEST(KillTestCheck, ASlotMustHoldTheDescriptionAndTheSaveOfOneRound) {
    const struct {
        const char* name;
        int infoRound;
        int saveRound;
        int faults;
        // A folder moved aside to be removed, of which a kill left the old description alone.
        const char* halfRemoved;
    } cases[] = {
        {"the new round's", 2, 2, 0, nullptr},
        {"mixed", 1, 2, 1, nullptr},
        {"the old one half removed", 2, 2, 0, "slot1.gone1"},
        {"an old autosave half removed", 2, 2, 0, "autosave/gone1"},
    };
    TempDir dir;
    writeRound(dir / "old/slot1", 1, 1);
    writeRound(dir / "new/slot1", 2, 2);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir / "user");
        writeRound(dir / "user/slot1", c.infoRound, c.saveRound);
        if (c.halfRemoved) {
            fs::path folder = fs::path(dir / "user") / c.halfRemoved;
            writeRound(folder, 1, 1);
            fs::remove(folder / "game.sav");
        }
        EXPECT_EQ(comparePlayerFiles(dir / "user", dir / "old", dir / "new"), c.faults);
    }
}

TEST(KillTestCheck, NoAutosaveButTheSixthIsLostInARound) {
    // The round each autosave slot holds, 0 where it holds none. Before the round: 6 to 1; after it: 7 to 2.
    const struct {
        const char* name;
        std::array<int, 6> rounds;
        int faults;
    } cases[] = {
        {"before the round", {6, 5, 4, 3, 2, 1}, 0},
        {"after the round", {7, 6, 5, 4, 3, 2}, 0},
        {"cut while the slots move up", {6, 5, 4, 0, 3, 2}, 0},
        {"cut before the new one is placed", {0, 6, 5, 4, 3, 2}, 0},
        {"slot3 removed", {6, 5, 0, 3, 2, 1}, 1},
        {"slots 2 to 6 removed", {7, 0, 0, 0, 0, 0}, 5},
    };
    auto writeAutosaves = [](const fs::path& user, const std::array<int, 6>& rounds) {
        fs::remove_all(user);
        for (int k = 0; k < 6; ++k) {
            if (rounds[k] > 0) {
                writeRound(user / "autosave" / ("slot" + std::to_string(k + 1)), rounds[k], rounds[k]);
            }
        }
    };
    TempDir dir;
    writeAutosaves(dir / "old", {6, 5, 4, 3, 2, 1});
    writeAutosaves(dir / "new", {7, 6, 5, 4, 3, 2});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeAutosaves(dir / "user", c.rounds);
        EXPECT_EQ(comparePlayerFiles(dir / "user", dir / "old", dir / "new"), c.faults);
    }
}
