#include "SaveFixture.h"
#include "nimbo/Keys.h"
#include "vessot/File.h"

TEST_F(SaveFixture, Scratch) {
    writeSlot("slot3", "ship.Cockpit", 75);
    writeSlot("slot4", "jama_spacea.Landing", 6000);
    game->key(nimbo::KEY_ESCAPE);
    game->saveScreenshot("/tmp/u21/ingame.png");
    clickObject("ingame_load");
    game->finishTransition();
    game->saveScreenshot("/tmp/u21/load.png");
    clickObject("sl_slot_btn_3");
    game->saveScreenshot("/tmp/u21/choice.png");
    clickObject("sl_slot_choice_yes_3");
    game->finishTransition();
    std::cerr << "SCENE " << var("active_scene") << "\n";
    game->passLoadingFade();
    game->stepSeconds(1.0f);
    game->key(nimbo::KEY_ESCAPE);
    clickObject("ingame_tutorial");
    game->finishTransition();
    game->stepSeconds(0.5f);
    game->saveScreenshot("/tmp/u21/tutorial.png");
    switchNow("ui.HelpMenu");
    game->step(2);
    game->saveScreenshot("/tmp/u21/help.png");
    std::cerr << game->log().substr(game->log().size() > 3000 ? game->log().size() - 3000 : 0);
}
