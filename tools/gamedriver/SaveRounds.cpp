#include "SaveRounds.h"

#include "engine/app/Game.h"
#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/session/zephUtil.h"
#include "ui/Menu.h"
#include "ui/SaveLoadMenu.h"

#include "nimbo/Main.h"
#include "tulm/Achievements.h"
#include "vessot/File.h"
#include "vessot/System.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {

// Lines written straight to the file: a kill loses none of those written.
class Journal {
public:
    explicit Journal(const std::string& path) : fd(open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644)) {
        if (fd < 0) {
            std::perror(path.c_str());
            std::exit(2);
        }
    }
    ~Journal() { close(fd); }
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    void line(const std::string& text) const {
        std::string withEnd = text + "\n";
        if (write(fd, withEnd.data(), withEnd.size()) != (ssize_t)withEnd.size()) {
            std::perror("journal");
        }
    }
    // Ends the run as the game ends on an error: at once, destroying nothing of the running game.
    [[noreturn]] void fail(const std::string& text, int code) const {
        line(text);
        std::fprintf(stderr, "gamedriver: %s\n", text.c_str());
        Game::exitProcess(code);
    }

private:
    int fd;
};

// Where the exchange of two folders is switched off, a save of the game slot over the one there must
// move that one aside first: the journal shows each such save, so that the kill test can tell that
// the way without the exchange was taken.
const Journal* fallbackJournal = nullptr;
int currentRound = 0;

void noteFallback(const String& point) {
    if (point == "before moving slot1 to slot1.old") {
        fallbackJournal->line("fallback " + std::to_string(currentRound));
    }
}

// Runs frames until no transition runs and the loading picture lets input through.
void settle() {
    for (int i = 0; i < 600 && (Session::activeTransition || loadingScreenAlpha > 0.4f); ++i) {
        nimbo::runFrames(1);
    }
    nimbo::runFrames(1);
}

void switchTo(const String& scene) {
    Game::guarded([&] { Session::switchScene(scene, "", "", 0.0f); });
    settle();
}

// The load of a slot worked when no question about its failure is open and a game scene shows.
void checkLoaded(const Journal& journal, const String& slot) {
    settle();
    if (!Vars::value("cdialog").empty() || GameUtil::getActiveChapterName() == "menu") {
        journal.fail("LOAD FAILED " + slot + ": " + Vars::value("cdialog"), 3);
    }
    journal.line("loaded " + slot);
}

// What the user folder holds, loaded as a player's next start would.
void loadWhatIsThere(const Journal& journal) {
    switchTo("menu.MainMenu");
    if (!Menu::resumeSlot.empty()) {
        String slot = "autosave/" + Menu::resumeSlot;
        Game::guarded([] { Menu::MainMenu::onResume(nullptr); });
        checkLoaded(journal, slot);
    }
    if (vessot::File::exists(SaveLoadMenu::slotFolder("slot1") + "info.txt")) {
        Game::guarded([] { SaveLoadMenu::loadGame("slot1"); });
        checkLoaded(journal, "slot1");
    }
    if (GameUtil::getActiveChapterName() == "menu") {
        Game::guarded([] { Menu::resetGameState(); });
        switchTo("ship.Cockpit");
    }
}

void saveRound(const Journal& journal, int round) {
    String user = zephUtil::getUserDataPath();
    auto expect = [&](bool written, const std::string& what) {
        if (!written) {
            journal.fail("WRITE FAILED " + what + " in round " + std::to_string(round), 4);
        }
    };
    Game::guarded([&] {
        Session::setParam("master_volume", String(round % 101));
        expect(Session::saveUserConfig(Session::params, user + "zeph.cfg"), "zeph.cfg");
        expect(GameUtil::writeTextFile("Runner " + String(round), user + "username.txt"), "username.txt");
        tulm::AchievementsService* service = tulm::getAchievementsService();
        expect(service != nullptr, "achievements (no service)");
        service->submitAchievement(
            service->createAchievement("halfway_done", 99.0f * (float)round / ((float)round + 1000)));
        Vars::get("gameplay_time")->setValue(String(round * 60), false);
        expect(SaveLoadMenu::saveGame("slot1", false, false), "slot1");
        Vars::snapshot = Vars::variables;
        SaveLoadMenu::autoSave();
        expect(Vars::value("cdialog").empty(), "autosave: " + Vars::value("cdialog"));
    });
}

void snapshot(const std::string& folder) {
    namespace fs = std::filesystem;
    fs::remove_all(folder);
    fs::create_directories(fs::path(folder).parent_path());
    fs::copy(std::string(zephUtil::getUserDataPath()), folder, fs::copy_options::recursive);
}

} // namespace

int SaveRounds::run(int argc, char** argv) const {
    Journal out(journal);
    SaveLoadMenu::testWithoutExchange = std::getenv("GAMEDRIVER_NO_EXCHANGE") != nullptr;
    fallbackJournal = &out;
    SaveLoadMenu::testKillPoint = noteFallback;
    nimbo::startMain(Game::initGame, argc, argv);
    vessot::srand(1);
    settle();
    loadWhatIsThere(out);
    for (int round = first; last == 0 || round <= last; ++round) {
        if (round == last && !snapshots.empty()) {
            snapshot(snapshots + "/old");
        }
        out.line("begin " + std::to_string(round));
        currentRound = round;
        saveRound(out, round);
        out.line("end " + std::to_string(round));
        nimbo::runFrames(1);
    }
    if (!snapshots.empty()) {
        snapshot(snapshots + "/new");
    }
    return nimbo::finishMain(Game::destroyGame);
}
