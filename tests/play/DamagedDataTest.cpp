// The real game, run headless as its own process on a damaged copy of its data, configuration, user
// folder or settings: each row must end with its clear message (naming the file, key, line or
// variable) and exit code, or go on as it says, and leave every file outside its folders alone.
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path) {
    if (!fs::is_regular_file(path)) {
        return ""; // a pipe would wait for a writer
    }
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// Replaces the first occurrence of a text in a file and answers the line it stands on; the row is
// wrong when it is not there.
int replaceIn(const fs::path& path, const std::string& what, const std::string& with) {
    std::string text = readFile(path);
    size_t at = text.find(what);
    EXPECT_NE(at, std::string::npos) << what << " in " << path;
    if (at == std::string::npos) {
        return 0;
    }
    int line = 1 + (int)std::count(text.begin(), text.begin() + (ptrdiff_t)at, '\n');
    writeFile(path, text.replace(at, what.size(), with));
    return line;
}

// A named pipe in a file's place, which nothing ever writes.
void makePipe(const fs::path& path) {
    fs::create_directories(path.parent_path());
    fs::remove(path);
    EXPECT_EQ(mkfifo(path.c_str(), 0600), 0) << path;
}

std::string nested(const std::string& open, const std::string& close, int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) {
        text += open;
    }
    for (int i = 0; i < depth; ++i) {
        text += close;
    }
    return text;
}

// One run: a copy of the game's data and configuration (game/), its user folder two levels down
// (a/b/user/, so that names climbing out of it still land in the run's folder) and its settings.
class GameCopy {
public:
    GameCopy() {
        fs::create_directories(game());
        for (const char* folder : {"data", "cfg"}) {
            fs::copy(fs::path(SOURCE_DIR) / folder, game() / folder, fs::copy_options::recursive);
        }
        fs::create_directories(user());
        // The story's first scene rather than the logo: most rows damage the ship's data.
        writeFile(user() / "zeph.cfg", "scene: ship.Cockpit\n");
        environment = {{"ZEPH_HEADLESS", "1"},
                       {"ZEPH_FRAMES", "30"},
                       {"ZEPH_WINDOW", "640x480"},
                       {"ZEPH_LOCALE", "en"},
                       {"ZEPH_DATA_DIR", game().string()},
                       {"ZEPH_USER_DIR", user().string()}};
    }
    fs::path root() const { return folder.path; }
    fs::path game() const { return root() / "game"; }
    fs::path user() const { return root() / "a/b/user"; }
    fs::path ship() const { return game() / "data/chapters/ship"; }
    void set(const std::string& name, const std::string& value) { environment[name] = value; }
    // The line of the damage, where a row's expected text says "{line}".
    int line = 0;
    void unset(const std::string& name) { environment.erase(name); }
    // A start at the main menu whose resume button, clicked once the menu has faded in, loads the
    // autosave `save`.
    void resumeFromMenu(const std::string& save) {
        writeFile(user() / "zeph.cfg", "scene: menu.MainMenu\n");
        writeFile(user() / "autosave/slot1/info.txt", "");
        writeFile(user() / "autosave/slot1/game.sav", save);
        writeFile(root() / "resume.txt", "95 click 320 156\n");
        set("ZEPH_INPUT", "resume.txt");
        set("ZEPH_FRAMES", "100");
    }

    // Runs the game; answers its exit code, and its standard error and game.log as `output`.
    int start() {
        std::string command = "cd '" + root().string() + "' && env -i PATH=/usr/bin:/bin ASAN_OPTIONS=detect_leaks=0";
        if (const char* ubsan = std::getenv("UBSAN_OPTIONS")) {
            command += std::string(" UBSAN_OPTIONS=") + ubsan;
        }
        for (const auto& [name, value] : environment) {
            command += " '" + name + "=" + value + "'";
        }
        command += " timeout -s KILL 600 '" GAME_BINARY "' > out.txt 2>&1";
        int status = std::system(command.c_str());
        output = readFile(root() / "out.txt") + readFile(user() / "game.log");
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    std::string output;

private:
    TempDir folder;
    std::map<std::string, std::string> environment;
};

struct Row {
    const char* what;
    std::function<void(GameCopy&)> damage;
    int exitCode;
    // Texts the run's messages hold.
    std::vector<std::string> says;
    // What must hold of the files afterwards.
    std::function<void(const GameCopy&)> after = nullptr;
};

const std::string INPUT = "input.txt";

} // namespace

TEST(DamagedData, EachDamageEndsWithItsMessageOrIsSurvived) {
    const Row rows[] = {
        // ---- numbers that are not finite
        {"a walk map with one point that is not a number",
         [](GameCopy& r) { r.line = replaceIn(r.ship() / "walk/Cockpit.walk", "416 285", "nan 285"); },
         1,
         {"data/chapters/ship/walk/Cockpit.walk line {line}: expected \"area\", \"hole\" or two numbers"}},
        {"a walk map of points that are not numbers only",
         [](GameCopy& r) { writeFile(r.ship() / "walk/Cockpit.walk", "walkmap 1\narea\nnan nan\n-nan 1\n1 inf\n"); },
         1,
         {"data/chapters/ship/walk/Cockpit.walk line 3"}},
        {"a bitmap-font glyph whose size is not a number",
         [](GameCopy& r) {
             r.line =
                 replaceIn(r.game() / "data/ui/fonts/radodid.font", "glyph 33 0 1 1 4 29", "glyph 33 0 1 1 nan 29");
         },
         1,
         {"Bitmap font 'data/ui/fonts/radodid.font' line {line}: 'nan' is not a number"}},
        {"a fixed step that is not a number",
         [](GameCopy& r) { r.set("ZEPH_FIXED_STEP", "nan"); },
         2,
         {"ZEPH_FIXED_STEP must be a number of seconds above 0 and at most 1, not 'nan'"}},
        {"a slot whose position is not a number, resumed from the main menu",
         [](GameCopy& r) { r.resumeFromMenu("active_scene: ship.Cockpit\nvorne_pos: nan,inf,S\n"); },
         0,
         {"the variable vorne_pos ('nan,inf,S') is not a position of numbers; vorne keeps the scene's placement"}},
        {"settings beyond the settings menu's, and a text speed that leaves speech no time",
         [](GameCopy& r) {
             writeFile(r.user() / "zeph.cfg",
                       "scene: ship.Cockpit\nmaster_volume: nan\nfx_volume: 1e20\ntext_multiplier: -inf\n");
         },
         0,
         {"text_multiplier '-inf' is not a number above 0; speech keeps the normal speed"}},
        {"an input-script click at no number",
         [](GameCopy& r) {
             writeFile(r.root() / INPUT, "0 move 1 1\n3 click nan nan\n");
             r.set("ZEPH_INPUT", INPUT);
         },
         2,
         {"Input script 'input.txt' line 2: 'click' expects a number, not 'nan'"}},
        {"an input-script key out of range",
         [](GameCopy& r) {
             writeFile(r.root() / INPUT, "0 key 2147483647\n");
             r.set("ZEPH_INPUT", INPUT);
         },
         2,
         {"line 1: '2147483647' is out of range: numbers lie between -1000000 and 1000000"}},
        {"an input-script position out of range",
         [](GameCopy& r) {
             writeFile(r.root() / INPUT, "0 click 99999999999 5\n");
             r.set("ZEPH_INPUT", INPUT);
         },
         2,
         {"line 1: '99999999999' is out of range: numbers lie between -1000000 and 1000000"}},

        // ---- names that would climb out of their folder
        {"a walk map named outside the chapter's walk folder",
         [](GameCopy& r) {
             r.line = replaceIn(r.ship() / "scenes/Cockpit.scene", "filename=\"Cockpit.walk\"",
                                "filename=\"../../../../outside.walk\"");
             fs::copy(r.ship() / "walk/Cockpit.walk", r.game() / "outside.walk");
         },
         1,
         {"data/chapters/ship/scenes/Cockpit.scene:{line}: element 'Object': 'filename' '../../../../outside.walk' "
          "must "
          "name a file of the chapter's walk folder"}},
        {"a video clip's sound outside the chapter's video folder",
         [](GameCopy& r) {
             r.line = replaceIn(r.ship() / "scenes/Galley.scene", "audio=\"beacon.ogg\"",
                                "audio=\"../../../../../../../../../../../../etc/hostname\"");
         },
         1,
         {"data/chapters/ship/scenes/Galley.scene:{line}: element 'Object': 'audio' "
          "'../../../../../../../../../../../../etc/hostname' must name a file of the chapter's video folder"}},
        {"a video clip outside the chapter's video folder",
         [](GameCopy& r) {
             r.line = replaceIn(r.ship() / "scenes/Galley.scene", "video=\"beacon\"", "video=\"../../../../outside\"");
         },
         1,
         {"data/chapters/ship/scenes/Galley.scene:{line}: element 'Object': 'video' '../../../../outside' must name a "
          "file of the chapter's video folder"}},
        {"a logo folder outside the game's folder",
         [](GameCopy& r) {
             writeFile(r.user() / "zeph.cfg", "scene: menu.Logo\n");
             r.line = replaceIn(r.game() / "data/chapters/menu/scenes/Logo.scene", "path=\"data/chapters/menu/logos\"",
                                "path=\"../game/data/chapters/menu/logos\"");
         },
         1,
         {"data/chapters/menu/scenes/Logo.scene:{line}: element 'Scene': 'path' '../game/data/chapters/menu/logos' "
          "must name a folder under the game's folder"}},
        {"a texture outside the dataset's folder",
         [](GameCopy& r) {
             r.line = replaceIn(r.ship() / "ship_hd.datadef", "textures/Cockpit_hd.png", "../../../../outside.png");
             fs::copy(r.ship() / "textures/Cockpit_hd.png", r.root() / "outside.png");
         },
         1,
         {"data/chapters/ship/ship_hd.datadef:{line}: element 'Texture': 'file' '../../../../outside.png' must name a "
          "file of the dataset's folder"}},
        {"a title that climbs out of the maker's folder",
         [](GameCopy& r) {
             replaceIn(r.game() / "cfg/zeph.cfg", "title: Vestrel Vorne", "title: ../../escaped");
             r.unset("ZEPH_USER_DIR");
             r.set("XDG_DATA_HOME", (r.root() / "xdg").string());
         },
         1,
         {"cfg/zeph.cfg: the key 'title' ('../../escaped') must not be an absolute path or hold a '..' segment"},
         [](const GameCopy& r) { EXPECT_FALSE(fs::exists(r.root() / "escaped")); }},
        {"a profile that climbs out of the user folder",
         [](GameCopy& r) {
             writeFile(r.user() / "zeph.cfg", "profile: ../../victim\n");
             writeFile(r.root() / "a/victim_achievements.bin", "not achievements\n");
         },
         0,
         {"zeph.cfg: the key 'profile' ('../../victim') leaves the user folder; the profile counts as ''"},
         [](const GameCopy& r) {
             EXPECT_EQ(readFile(r.root() / "a/victim_achievements.bin"), "not achievements\n");
             EXPECT_FALSE(fs::exists(r.root() / "a/victim_achievements.bin.damaged"));
         }},
        {"a start file outside the game's folder",
         [](GameCopy& r) {
             writeFile(r.user() / "zeph.cfg", "scene: ./../outside.sav\n");
             writeFile(r.root() / "outside.sav", "active_scene: ship.Corridor\n");
         },
         1,
         {"a/b/user/zeph.cfg: the key 'scene' ('./../outside.sav') must name a file under the game's folder"}},
        {"a font page outside the font's folder",
         [](GameCopy& r) {
             r.line = replaceIn(r.game() / "data/ui/fonts/radodid.font", "page radodid_0.png",
                                "page ../../../../radodid_0.png");
             fs::copy(r.game() / "data/ui/fonts/radodid_0.png", r.root() / "radodid_0.png");
         },
         1,
         {"Bitmap font 'data/ui/fonts/radodid.font' line {line}: the page '../../../../radodid_0.png' must lie in the "
          "font's folder"}},

        // ---- nesting
        {"thirty thousand nested ifs in a scene file",
         [](GameCopy& r) {
             // The scene is level 1: the 256th "if" is the first too deep.
             r.line = 256 + replaceIn(r.ship() / "scenes/Galley.scene", "</Scene>",
                                      nested("\n<if t=\"1\">", "</if>", 30000) + "</Scene>");
         },
         1,
         {"data/chapters/ship/scenes/Galley.scene:{line}: element 'if' is nested deeper than 256 levels"}},
        {"thirty thousand nested objects in a dataset definition",
         [](GameCopy& r) {
             replaceIn(r.ship() / "ship_hd.datadef", "</Dataset>",
                       nested("\n<Object type=\"Object\">", "</Object>", 30000) + "</Dataset>");
         },
         1,
         {"data/chapters/ship/ship_hd.datadef:", "element 'Object' is nested deeper than 256 levels"}},
        {"a condition nested a hundred thousand parentheses deep",
         [](GameCopy& r) {
             replaceIn(r.ship() / "scenes/Cockpit.scene", "<Execute cmd",
                       "<Execute condition=\"" + nested("(", ")", 100000).insert(100000, "1") + "\" cmd");
         },
         1,
         {"parentheses nested deeper than 64 levels in expression '", std::string(10, '(') + "...'"}},
        {"two dialog sequences that redirect to each other",
         [](GameCopy& r) {
             replaceIn(r.ship() / "dialogs/intercom.dlg", "</Dialogs>",
                       "<Sequence name=\"loopa\"><Redirect to=\"loopb\"/></Sequence>"
                       "<Sequence name=\"loopb\"><Redirect to=\"loopa\"/></Sequence></Dialogs>");
             replaceIn(r.ship() / "scenes/Cockpit.scene", "inc_var cockpit_visits 1", "dialog loopa");
         },
         1,
         {"Dialog references and redirects nested more than 32 deep (a loop?) through 'loopb', 'loopa'"}},

        // ---- configuration and data files
        {"an empty cfg/zeph.cfg",
         [](GameCopy& r) {
             writeFile(r.game() / "cfg/zeph.cfg", "");
             fs::remove(r.user() / "zeph.cfg");
         },
         1,
         {"The parameter \"scene\" is missing from cfg/zeph.cfg"}},
        {"a cfg/zeph.cfg that holds no entry",
         [](GameCopy& r) {
             writeFile(r.game() / "cfg/zeph.cfg", std::string("\x7f"
                                                              "ELF\x02\x01\x01\0\0\0",
                                                              10));
             fs::remove(r.user() / "zeph.cfg");
         },
         1,
         {"The parameter \"scene\" is missing from cfg/zeph.cfg"}},
        {"a scene without its hotspot map",
         [](GameCopy& r) { fs::remove(r.ship() / "action_maps/Galley.amp"); },
         1,
         {"Scene 'Galley' of chapter ship has no hotspot map: data/chapters/ship/action_maps/Galley.amp is missing"}},
        {"a boot command that sets a variable it does not name",
         [](GameCopy& r) { replaceIn(r.ship() / "scenes/Cockpit.scene", "inc_var cockpit_visits 1", "set_var"); },
         1,
         {"The command 'set_var' names no variable: 'set_var NAME VALUE'"}},
        {"the same, met in play after the main menu was shown",
         [](GameCopy& r) {
             replaceIn(r.ship() / "scenes/Cockpit.scene", "inc_var cockpit_visits 1", "set_var");
             r.resumeFromMenu("active_scene: ship.Cockpit\n");
         },
         1,
         {"The command 'set_var' names no variable", "Vestrel Vorne: ERROR!"}},
        {"the same, met while the galley's clips and their sound play, their threads running",
         [](GameCopy& r) {
             replaceIn(r.ship() / "scenes/Galley.scene", "<Action type=\"IncVar\" var=\"galley_lingered\"",
                       "<Action type=\"Execute\" cmd=\"set_var\"/><Action type=\"IncVar\" var=\"galley_lingered\"");
             r.resumeFromMenu("active_scene: ship.Galley\n");
             r.set("ZEPH_FRAMES", "260");
         },
         1,
         {"The command 'set_var' names no variable", "Vestrel Vorne: ERROR!"}},

        // ---- the user folder
        {"unfinished writes of an earlier run",
         [](GameCopy& r) {
             writeFile(r.user() / "zeph.cfg.tmp-Ab12Cd", "audio_mute: 1\n");
             writeFile(r.user() / "_profile1/slot1/game.sav.tmp-ZZZZZZ", "items: coin\n");
             writeFile(r.user() / "notes.tmp-1", "mine\n");
         },
         0,
         {"removed 2 unfinished temporary files from"},
         [](const GameCopy& r) {
             EXPECT_FALSE(fs::exists(r.user() / "zeph.cfg.tmp-Ab12Cd"));
             EXPECT_FALSE(fs::exists(r.user() / "_profile1/slot1/game.sav.tmp-ZZZZZZ"));
             EXPECT_EQ(readFile(r.user() / "notes.tmp-1"), "mine\n");
         }},
        {"pipes as hwnd.txt and game.log",
         [](GameCopy& r) {
             makePipe(r.user() / "hwnd.txt");
             makePipe(r.user() / "game.log");
         },
         0,
         {"hwnd.txt: it is not a regular file; the file is left as it is", "cannot open log file"}},
        {"a pipe as zeph.cfg", [](GameCopy& r) { makePipe(r.user() / "zeph.cfg"); }, 0, {"zeph.cfg: it is not a"}},
        {"a pipe as lang.cfg", [](GameCopy& r) { makePipe(r.user() / "lang.cfg"); }, 0, {"lang.cfg: it is not a"}},
        {"a pipe as username.txt", [](GameCopy& r) { makePipe(r.user() / "username.txt"); }, 0, {"username.txt: it"}},
        {"a link to /dev/zero as lang.cfg",
         [](GameCopy& r) { fs::create_symlink("/dev/zero", r.user() / "lang.cfg"); },
         0,
         {"lang.cfg: it is not a regular file"}},
        {"a lang.cfg beyond any real size",
         [](GameCopy& r) {
             std::ofstream(r.user() / "lang.cfg") << "de";
             fs::resize_file(r.user() / "lang.cfg", (64 << 20) + 1);
         },
         0,
         {"lang.cfg: it is larger than 64 MB; the file is left as it is"},
         [](const GameCopy& r) { EXPECT_EQ(fs::file_size(r.user() / "lang.cfg"), (64u << 20) + 1); }},
        {"a pipe as a slot's info.txt, listed by the load menu",
         [](GameCopy& r) {
             r.resumeFromMenu("");
             writeFile(r.root() / "resume.txt", "95 click 320 194\n"); // "Load game"
             r.set("ZEPH_FRAMES", "160");
             makePipe(r.user() / "slot2/info.txt");
         },
         0,
         {"Savegame slot 2 is unreadable: Cannot open", "slot2/info.txt: it is not a regular file"}},
        {"a pipe as a slot's game.sav, resumed from the main menu",
         [](GameCopy& r) {
             r.resumeFromMenu("");
             makePipe(r.user() / "autosave/slot1/game.sav");
         },
         0,
         {"game.sav: it is not a regular file"}},
        {"a player file that cannot be written",
         [](GameCopy& r) { fs::create_directory(r.user() / "hwnd.txt"); },
         0,
         {"hwnd.txt: Is a directory; the old file stays and the game goes on", "ZEPH destroyed"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        GameCopy run;
        row.damage(run);
        EXPECT_EQ(run.start(), row.exitCode) << run.output.substr(0, 4000);
        for (std::string text : row.says) {
            if (size_t at = text.find("{line}"); at != std::string::npos) {
                text.replace(at, 6, std::to_string(run.line));
            }
            EXPECT_NE(run.output.find(text), std::string::npos) << text << "\n" << run.output.substr(0, 4000);
        }
        EXPECT_EQ(run.output.find("Sanitizer"), std::string::npos) << run.output.substr(0, 4000);
        // No message quotes a whole damaged file.
        EXPECT_EQ(run.output.find(std::string(1000, '(')), std::string::npos);
        if (row.after) {
            row.after(run);
        }
    }
}
