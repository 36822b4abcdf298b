// The storage room's and the saucer bay's slabs on the running game: each update of the scene reads
// the slab's variables and the current character's queue, takes the slab back when the character on
// it walks, and resets the scene (seen as "prev_scene" naming the scene itself).
#include "engine/RunningGame.h"

#include <string>
#include <vector>

namespace {

struct SlabCase {
    const char* name;
    // The scene's variables, one digit each in the order of the scene's list, before and after.
    const char* before;
    const char* current;
    bool walking;
    const char* after;
    bool reset;
};

// Each case in its scene from its state, with the current character walking or not, through one
// update of the scene.
void expectSlabCases(const char* scene, const std::vector<const char*>& variables, const std::vector<SlabCase>& cases) {
    for (const SlabCase& c : cases) {
        SCOPED_TRACE(c.name);
        Vars::get("prev_scene")->setValue("ship.Cockpit", true);
        Vars::get("current_character")->setValue(c.current, true);
        for (size_t i = 0; i < variables.size(); ++i) {
            Vars::get(variables[i])->setValue(String(c.before[i] - '0'), true);
        }
        for (const char* name : {"vorne", "luna", "danny"}) {
            auto* character = dynamic_cast<Character2D*>(charactersChapter->getObject(name));
            character->clearJobs();
            if (c.walking && c.current == std::string(name)) {
                character->addJob(new TestJob("Move"));
            }
        }
        Session::activeScene->onUpdate(0.01f);
        std::string after;
        for (const char* variable : variables) {
            after += Vars::value(variable).c_str();
        }
        EXPECT_EQ(after, c.after);
        EXPECT_EQ(Vars::value("prev_scene") == scene, c.reset);
    }
}

using SlabScenes = RunningGame;

TEST_F(SlabScenes, TheStorageSlabIsTakenBackWhenItsCharacterWalks) {
    switchNow("schminkell7.Storage");
    expectSlabCases("schminkell7.Storage",
                    {"slab_on", "danny_is_on_storage_slab", "luna_is_on_storage_slab", "moon_off"},
                    {
                        {"DannyWalksOff", "1100", "danny", true, "0001", true},
                        {"LunaWalksOff", "1010", "luna", true, "0001", true},
                        // Luna walks while Danny stands on the slab: nothing changes, but the scene resets.
                        {"LunaWalksBesideIt", "1100", "luna", true, "1100", true},
                        {"DannyStandsStill", "1100", "danny", false, "1100", false},
                        {"VorneWalks", "1100", "vorne", true, "1100", false},
                        {"SlabOff", "0100", "danny", true, "0100", false},
                    });
}

TEST_F(SlabScenes, TheSaucerSlabComesUpWhenItsCharacterWalksOrTheIonShapeIsOut) {
    switchNow("schminkell7.Saucer");
    expectSlabCases("schminkell7.Saucer",
                    {"ion_shape_in", "ion_shape_off", "saucer_slab_max_down", "rowboat_on_saucer_slab",
                     "luna_on_saucer_slab", "danny_on_saucer_slab", "mountain_off"},
                    {
                        // Luna walking with the slab down always takes it up, on it or not.
                        {"LunaWalksOff", "0010100", "luna", true, "0000001", true},
                        {"LunaWalksBesideIt", "0010000", "luna", true, "0000001", true},
                        {"DannyWalksOff", "0010010", "danny", true, "0000001", true},
                        // Danny walking beside it changes nothing, but the scene resets.
                        {"DannyWalksBesideIt", "0010000", "danny", true, "0010000", true},
                        {"RowboatOnIt", "0011100", "luna", true, "0011100", false},
                        {"LunaStandsStill", "0010100", "luna", false, "0010100", false},
                        {"VorneWalks", "0010100", "vorne", true, "0010100", false},
                        // The ion shape taken out brings the slab up, and nothing else happens then.
                        {"IonShapeOut", "0110100", "luna", true, "0100100", false},
                        {"IonShapeIn", "1110100", "luna", false, "1110100", false},
                    });
}

} // namespace
