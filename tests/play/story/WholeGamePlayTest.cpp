// The bundled story played from the logo to its end as a player plays it, saved through the save
// menu at each chapter's start; and, in a fresh process for each of those saves, loaded through the
// main menu's load and played on from there to the end.
#include "StoryPath.h"

#include "ui/Menu.h"

#include "nimbo/Keys.h"
#include "nimboui/Object.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace {

// The chapters' starts in the path's order: the slot each is saved in, the folder name its copy of
// the user folder gets, the scene the path stands in there, whether the game has autosaved by then
// (every ten minutes of play), and the segment that plays from it.
struct ChapterStart {
    int slot;
    const char* name;
    const char* scene;
    bool autosaved;
    void (*play)(StoryRun&);
};

const ChapterStart STARTS[] = {
    {2, "ship", "ship.Cockpit", false, playShipToJama},
    {3, "jama_spacea", "jama_spacea.Landing", true, playJama},
    {4, "ship_again", "ship.CargoHold", true, playShipToSchminkell},
#ifdef STORY_HAS_MOONS
    {5, "schminkell7", "schminkell7.Entrance", true, playSchminkell},
    {6, "varion", "varion.Start", true, playVarion},
    {7, "terra_nuova", "terra_nuova.Station", true, playTerraNuovaToEnd},
#endif
};

// Where the chapter starts' user folders are kept for the continuation runs ("" for nowhere).
std::string savesFolder() {
    const char* folder = std::getenv("STORY_SAVES");
    return folder ? folder : "";
}

void playFrom(StoryRun& run, size_t first, bool save) {
    for (size_t i = first; i < std::size(STARTS) && !::testing::Test::HasFatalFailure(); ++i) {
        const ChapterStart& start = STARTS[i];
        SCOPED_TRACE(start.name);
        ASSERT_EQ(run.scene(), start.scene);
        EXPECT_EQ(StoryRun::hasAutosave(), start.autosaved);
        if (save) {
            run.saveToSlot(start.slot);
            if (!savesFolder().empty()) {
                run.copyUserFolder(savesFolder() + "/" + start.name);
            }
        }
        if (save && i == 0) { // quitting autosaves: Resume goes on where the player quit
            run.press(nimbo::KEY_ESCAPE);
            run.pressInterface("ingame_quit_menu");
            run.pressInterface("cdialog_yes_button");
            run.pressMenu("resume_btn");
            ASSERT_EQ(run.scene(), start.scene);
        }
        start.play(run);
        EXPECT_EQ(run.missingResources(), "");
    }
}

TEST(WholeGame, FromTheLogoToTheEnd) {
    StoryRun run(StoryRun::fromTheLogo());
    playFrontEndIntoShip(run);
    playFrom(run, 0, true);
}

// STORY_CHAPTER names a chapter start whose user folder STORY_SAVES holds.
TEST(WholeGame, LoadedAtAChapterStartInAFreshProcessPlaysOnToTheEnd) {
    const char* chapter = std::getenv("STORY_CHAPTER");
    if (!chapter || savesFolder().empty()) {
        GTEST_SKIP() << "run by ctest after the whole path, with STORY_CHAPTER and STORY_SAVES";
    }
    size_t index = 0;
    while (index < std::size(STARTS) && std::string(STARTS[index].name) != chapter) {
        ++index;
    }
    ASSERT_LT(index, std::size(STARTS)) << chapter;
    StoryRun run(StoryRun::fromUserFolder(savesFolder() + "/" + chapter));
    // The logo, then the main menu of the profile made on the way; its load menu holds the slot.
    run.press(nimbo::KEY_SPACE);
    ASSERT_EQ(run.scene(), "menu.MainMenu");
    // Its Resume entry shows once the game has autosaved.
    EXPECT_EQ(Menu::objectOf("resume_btn")->isVisible(), STARTS[index].autosaved);
    run.pressMenu("load_game_btn");
    ASSERT_EQ(run.scene(), "ui.SaveLoadMenu");
    run.loadFromSlot(STARTS[index].slot);
    playFrom(run, index, false);
}

} // namespace
