// The storage room's and the saucer bay's slabs on the running game: each update of the scene reads
// the slab's variables and the current character's queue, takes the slab back when the character on
// it walks, and resets the scene (seen as "prev_scene" naming the scene itself).
#include "engine/RunningGame.h"

#include <string>

namespace {

class SlabScenes : public RunningGame {
protected:
    // The scene entered from the cockpit, the variables of "name=value" pairs set, the current
    // character walking or not; then one update of the scene. Answers whether it reset itself.
    bool updateWith(const char* scene, const std::string& pairs, const char* current, bool walking) {
        if (var("active_scene") != scene) {
            switchNow(scene);
        }
        Vars::get("prev_scene")->setValue("ship.Cockpit", true);
        Vars::get("current_character")->setValue(current, true);
        for (size_t at = 0; at < pairs.size();) {
            size_t end = std::min(pairs.find(' ', at), pairs.size());
            std::string pair = pairs.substr(at, end - at);
            Vars::get(pair.substr(0, pair.find('=')).c_str())->setValue(pair.substr(pair.find('=') + 1).c_str(), true);
            at = end + 1;
        }
        for (const char* name : {"vorne", "luna", "danny"}) {
            auto* character = dynamic_cast<Character2D*>(charactersChapter->getObject(name));
            character->clearJobs();
            if (walking && var("current_character") == name) {
                character->addJob(new TestJob("Move"));
            }
        }
        Session::activeScene->onUpdate(0.01f);
        return var("prev_scene") == scene;
    }

    // The variables' values as "name=value" pairs in the given order.
    static std::string values(std::initializer_list<const char*> names) {
        std::string text;
        for (const char* name : names) {
            text += std::string(text.empty() ? "" : " ") + name + "=" + var(name).c_str();
        }
        return text;
    }
};

struct SlabCase {
    const char* name;
    const char* before;
    const char* current;
    bool walking;
    const char* after;
    bool reset;
};

TEST_F(SlabScenes, TheStorageSlabIsTakenBackWhenItsCharacterWalks) {
    const char* const names[] = {"slab_on", "danny_is_on_storage_slab", "luna_is_on_storage_slab", "moon_off"};
    const SlabCase cases[] = {
        {"DannyWalksOff", "slab_on=1 danny_is_on_storage_slab=1 luna_is_on_storage_slab=0 moon_off=0", "danny", true,
         "slab_on=0 danny_is_on_storage_slab=0 luna_is_on_storage_slab=0 moon_off=1", true},
        {"LunaWalksOff", "slab_on=1 danny_is_on_storage_slab=0 luna_is_on_storage_slab=1 moon_off=0", "luna", true,
         "slab_on=0 danny_is_on_storage_slab=0 luna_is_on_storage_slab=0 moon_off=1", true},
        // Luna walks while Danny stands on the slab: nothing changes, but the scene resets.
        {"LunaWalksBesideIt", "slab_on=1 danny_is_on_storage_slab=1 luna_is_on_storage_slab=0 moon_off=0", "luna", true,
         "slab_on=1 danny_is_on_storage_slab=1 luna_is_on_storage_slab=0 moon_off=0", true},
        {"DannyStandsStill", "slab_on=1 danny_is_on_storage_slab=1 luna_is_on_storage_slab=0 moon_off=0", "danny",
         false, "slab_on=1 danny_is_on_storage_slab=1 luna_is_on_storage_slab=0 moon_off=0", false},
        {"VorneWalks", "slab_on=1 danny_is_on_storage_slab=1 luna_is_on_storage_slab=0 moon_off=0", "vorne", true,
         "slab_on=1 danny_is_on_storage_slab=1 luna_is_on_storage_slab=0 moon_off=0", false},
        {"SlabOff", "slab_on=0 danny_is_on_storage_slab=1 luna_is_on_storage_slab=0 moon_off=0", "danny", true,
         "slab_on=0 danny_is_on_storage_slab=1 luna_is_on_storage_slab=0 moon_off=0", false},
        // Only "1" counts as the slab being on.
        {"SlabOnAsText", "slab_on=true danny_is_on_storage_slab=1 luna_is_on_storage_slab=0 moon_off=0", "danny", true,
         "slab_on=true danny_is_on_storage_slab=1 luna_is_on_storage_slab=0 moon_off=0", false},
    };
    for (const SlabCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(updateWith("schminkell7.Storage", c.before, c.current, c.walking), c.reset);
        EXPECT_EQ(values({names[0], names[1], names[2], names[3]}), c.after);
    }
}

TEST_F(SlabScenes, TheSaucerSlabComesUpWhenItsCharacterWalksOrTheIonShapeIsOut) {
    const SlabCase cases[] = {
        // Luna walking with the slab down always takes it up, on it or not.
        {"LunaWalksOff", "saucer_slab_max_down=1 rowboat_on_saucer_slab=0 luna_on_saucer_slab=1 mountain_off=0", "luna",
         true, "saucer_slab_max_down=0 luna_on_saucer_slab=0 danny_on_saucer_slab=0 mountain_off=1", true},
        {"LunaWalksBesideIt", "saucer_slab_max_down=1 rowboat_on_saucer_slab=0 luna_on_saucer_slab=0 mountain_off=0",
         "luna", true, "saucer_slab_max_down=0 luna_on_saucer_slab=0 danny_on_saucer_slab=0 mountain_off=1", true},
        {"DannyWalksOff", "saucer_slab_max_down=1 rowboat_on_saucer_slab=0 danny_on_saucer_slab=1 mountain_off=0",
         "danny", true, "saucer_slab_max_down=0 luna_on_saucer_slab=0 danny_on_saucer_slab=0 mountain_off=1", true},
        // Danny walking beside it changes nothing, but the scene resets.
        {"DannyWalksBesideIt", "saucer_slab_max_down=1 rowboat_on_saucer_slab=0 danny_on_saucer_slab=0 mountain_off=0",
         "danny", true, "saucer_slab_max_down=1 luna_on_saucer_slab=0 danny_on_saucer_slab=0 mountain_off=0", true},
        {"RowboatOnIt", "saucer_slab_max_down=1 rowboat_on_saucer_slab=1 luna_on_saucer_slab=1 mountain_off=0", "luna",
         true, "saucer_slab_max_down=1 luna_on_saucer_slab=1 danny_on_saucer_slab=0 mountain_off=0", false},
        {"LunaStandsStill", "saucer_slab_max_down=1 rowboat_on_saucer_slab=0 luna_on_saucer_slab=1 mountain_off=0",
         "luna", false, "saucer_slab_max_down=1 luna_on_saucer_slab=1 danny_on_saucer_slab=0 mountain_off=0", false},
        {"VorneWalks", "saucer_slab_max_down=1 rowboat_on_saucer_slab=0 luna_on_saucer_slab=1 mountain_off=0", "vorne",
         true, "saucer_slab_max_down=1 luna_on_saucer_slab=1 danny_on_saucer_slab=0 mountain_off=0", false},
        // The ion shape taken out brings the slab up, and nothing else happens in that update.
        {"IonShapeOut",
         "ion_shape_in=0 ion_shape_off=1 saucer_slab_max_down=1 rowboat_on_saucer_slab=0 luna_on_saucer_slab=1 "
         "mountain_off=0",
         "luna", true, "saucer_slab_max_down=0 luna_on_saucer_slab=1 danny_on_saucer_slab=0 mountain_off=0", false},
        {"IonShapeIn",
         "ion_shape_in=1 ion_shape_off=1 saucer_slab_max_down=1 rowboat_on_saucer_slab=0 luna_on_saucer_slab=1 "
         "mountain_off=0",
         "luna", false, "saucer_slab_max_down=1 luna_on_saucer_slab=1 danny_on_saucer_slab=0 mountain_off=0", false},
    };
    for (const SlabCase& c : cases) {
        SCOPED_TRACE(c.name);
        updateWith("schminkell7.Saucer",
                   "ion_shape_in=0 ion_shape_off=0 luna_on_saucer_slab=0 danny_on_saucer_slab=0 mountain_off=0",
                   "vorne", false);
        EXPECT_EQ(updateWith("schminkell7.Saucer", c.before, c.current, c.walking), c.reset);
        EXPECT_EQ(values({"saucer_slab_max_down", "luna_on_saucer_slab", "danny_on_saucer_slab", "mountain_off"}),
                  c.after);
    }
}

} // namespace
