// The story chapters' data on the running game: every scene that the hint routes and solvers of
// "jama_spacea", "schminkell7" and "varion" name exists with its hotspot map and stands its characters on its walk
// map, as does every scene with a floor, which shows its chapter's whole crew; every exit of the routes leads to
// its linked scene; every area a solver points at is bound to an action (at times); a click on a thing says what its
// state shows, and a scene shows what its state brings; every texture a dataset definition names exists; no figure
// covers where another comes in, waits, stands or is walked to, and a door places only the one coming in by it, nobody
// at a switch; the laboratory's doors remember the corridor; the questionnaire takes the answers the hints give; and
// the scenes unlock every achievement but those no step earns.
#include "engine/RunningGame.h"
#include "engine/scene/ActionMap.h"
#include "engine/scene/BootCommand.h"
#include "script/Action.h"
#include "script/Character2DRef.h"
#include "script/Inventory.h"
#include "script/ZephJobs.h"
#include "ui/Achievements.h"

#include "trailex/Map.h"
#include "vessot/File.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>

namespace {

struct Link {
    const char* chapter;
    const char* from;
    const char* to;
    const char* exit;
    // Variables (name, value) under which the exit is open; the rest keep their start values.
    std::vector<std::pair<const char*, const char*>> state;
};

// The hint route graphs, link by link, and other exits whose way depends on the story.
const Link LINKS[] = {
    {"jama_spacea", "LandingSite", "ship.Kitchen", "0000FF", {}},
    {"jama_spacea", "LandingSite", "Crossroads", "FFFF00", {}},
    {"jama_spacea", "Crossroads", "LandingSite", "FFFF00", {}},
    {"jama_spacea", "Crossroads", "Motel", "FF9A00", {}},
    {"jama_spacea", "Crossroads", "Pier", "0000FF", {}},
    {"jama_spacea", "Pier", "Crossroads", "FFFF00", {}},
    {"jama_spacea", "Pier", "JamaMap", "F26522", {{"rowboat_in_water", "1"}, {"rowboat_has_wheel", "1"}}},
    {"jama_spacea",
     "Pier",
     "CrashSite",
     "F26522",
     {{"rowboat_in_water", "1"}, {"rowboat_has_wheel", "1"}, {"dam_blownup", "1"}}},
    {"jama_spacea", "Motel", "Crossroads", "FFFF00", {}},
    {"jama_spacea", "Motel", "Windmill", "C69C6D", {}},
    {"jama_spacea", "Motel", "Park", "0000FF", {}},
    {"jama_spacea", "Windmill", "Motel", "FFFF00", {}},
    {"jama_spacea", "Windmill", "WindmillInterior", "FF0000", {}},
    {"jama_spacea", "WindmillInterior", "Windmill", "FFFF00", {}},
    {"jama_spacea", "Park", "Motel", "FFFF00", {}},
    {"jama_spacea", "Dam", "Pier", "6666CC", {}},
    {"jama_spacea", "Dam", "Cemetary", "0000FF", {}},
    {"jama_spacea", "Dam", "Undergrave", "0066FF", {}},
    {"jama_spacea", "Dam", "Clearing", "FFFF00", {}},
    {"jama_spacea", "Cemetary", "Dam", "FFFF00", {}},
    {"jama_spacea", "Undergrave", "Dam", "FFFF00", {}},
    {"jama_spacea", "Clearing", "Dam", "FFFF00", {}},
    {"jama_spacea", "Clearing", "RowboatToPier", "FF6600", {{"rowboat_on_clearing", "1"}}},
    {"jama_spacea", "CrashSite", "Pier", "FFFF00", {}},
    {"jama_spacea", "JamaMap", "Dam", "FF99CC", {}},
    {"jama_spacea", "JamaMap", "CrashSite", "669999", {}},
    {"jama_spacea", "JamaMap", "Pier", "009999", {}},
    {"jama_spacea", "JamaMap", "Windmill", "999900", {}},
    {"jama_spacea", "JamaMap", "Crossroads", "0099FF", {}},
    {"jama_spacea", "JamaMap", "Motel", "339933", {}},
    {"jama_spacea", "JamaMap", "Park", "FF9900", {}},
    {"jama_spacea", "JamaMap", "LandingSite", "FFFF00", {}},
    {"jama_spacea", "Plaque", "Cemetary", "0000FF", {}},
    {"varion", "Start", "Barrier", "FFFF00", {}},
    {"varion", "Start", "InfrontCargo", "0000FF", {}},
    {"varion", "InfrontCargo", "Start", "FFFF00", {}},
    {"varion", "InfrontCargo", "Barrier", "0000FF", {}},
    {"varion", "InfrontCargo", "Warehouse", "FF0000", {{"authorized_for_warehouse", "1"}}},
    {"varion", "Barrier", "Elevator", "FF0000", {{"danny_can_goto_elevator", "1"}}},
    {"varion", "Barrier", "Start", "FFFF00", {}},
    {"varion", "Barrier", "InfrontCargo", "0000FF", {}},
    {"varion", "Elevator", "Barrier", "FFFF00", {}},
    {"varion", "Elevator", "LCorridor", "0000FF", {}},
    {"varion", "Elevator", "RCorridor", "FF0000", {}},
    {"varion", "Elevator", "LaboratoryMiddle", "FF00FF", {{"elevator_door_opened", "1"}}},
    {"varion", "LaboratoryLeft", "RCorridor", "FF0000", {}},
    {"varion", "LaboratoryMiddle", "Elevator", "00FF00", {}},
    {"varion", "RCorridor", "LandingDock", "FF0000", {}},
    {"varion", "RCorridor", "Elevator", "0000FF", {}},
    {"varion", "RCorridor", "Warehouse", "FFFF00", {}},
    {"varion", "RCorridor", "LaboratoryLeft", "00FF00", {}},
    {"varion", "RCorridor", "BotScheme", "FF6600", {}},
    {"varion", "BotScheme", "RCorridor", "0000FF", {}},
    {"varion", "LandingDock", "ship.Kitchen", "FFFF00", {}},
    {"varion", "LandingDock", "LCorridor", "FF0000", {}},
    {"varion", "LandingDock", "RCorridor", "0000FF", {}},
    {"varion", "LCorridor", "LandingDock", "0000FF", {}},
    {"varion", "LCorridor", "Elevator", "FFFF00", {}},
    {"varion", "LCorridor", "LaboratoryRight", "FF00FF", {}},
    {"varion", "LCorridor", "Prison", "FF0000", {}},
    {"varion", "LaboratoryRight", "LCorridor", "0000FF", {}},
    {"varion", "Warehouse", "InfrontCargo", "00FFFF", {}},
    {"varion", "Warehouse", "RCorridor", "FFFF00", {}},
    {"varion", "Warehouse", "Sewers", "FF0000", {{"grate_opened", "1"}}},
    {"varion", "Warehouse", "Ppa", "FF00FF", {}},
    {"varion", "Ppa", "Warehouse", "FFFF00", {}},
    {"varion", "Sewers", "Warehouse", "FFFF00", {}},
    {"varion", "Sewers", "Prison", "0000FF", {}},
    {"varion", "Prison", "LCorridor", "0000FF", {}},
    {"varion", "Prison", "Sewers", "FF0000", {}},
    {"schminkell7", "Entrance", "Replicator", "0000FF", {}},
    {"schminkell7", "Replicator", "Entrance", "FFFF00", {}},
    {"schminkell7", "Replicator", "Storage", "00FF00", {}},
    {"schminkell7", "Replicator", "Computer", "00FFFF", {}},
    {"schminkell7", "Storage", "Replicator", "FFFF00", {}},
    {"schminkell7", "Storage", "Saucer", "0000FF", {}},
    {"schminkell7", "Saucer", "Storage", "0000FF", {}},
    {"schminkell7", "Saucer", "Computer", "FFFF00", {}},
    {"schminkell7",
     "Saucer",
     "varion.LandingDock",
     "0099FF",
     {{"current_character", "vorne"}, {"canister_visible", "1"}, {"tunnel_opened", "1"}}},
    {"schminkell7", "Computer", "Replicator", "0000FF", {}},
    {"schminkell7", "Computer", "Saucer", "FFFF00", {}},
    // The galley's hatch, which the routes leave aside: down to where the ship stands.
    {"ship", "Galley", "varion.LandingDock", "FFFF00", {{"picked_up_aliens", "1"}, {"mazslow_on_varion", "1"}}},
    // The laboratory is left by the exit toward the corridor its visitor came from.
    {"varion", "Laboratory", "LCorridor", "0000FF", {}},
    {"varion", "Laboratory", "Elevator", "00FF00", {}},
    {"varion", "Laboratory", "RCorridor", "FF0000", {}},
};

// The areas the hint solvers point at, by scene.
const std::tuple<const char*, const char*, std::vector<const char*>> SOLVER_AREAS[] = {
    {"jama_spacea", "Diary", {"0000FF"}},
    {"jama_spacea", "Safe", {"FF33FF"}},
    {"jama_spacea", "Park", {"FF0000", "006633", "006699", "996633"}},
    {"jama_spacea", "Crossroads", {"FEC689", "FF9ACF", "9A9AFF"}},
    {"jama_spacea", "Motel", {"C7B29A", "FF0000", "FF00FF"}},
    {"jama_spacea", "Pier", {"F26522", "FF0033", "00FF00"}},
    {"jama_spacea", "Clearing", {"3366FF", "FF66CC", "FF6600"}},
    {"jama_spacea", "Windmill", {"003663"}},
    {"jama_spacea", "WindmillInterior", {"FF00FF", "FF33CC", "FFCC99", "FFCC33"}},
    {"jama_spacea", "Cemetary", {"006699", "FF6600", "3366FF"}},
    {"jama_spacea", "Undergrave", {"9966CC", "FF66FF", "FF6633"}},
    {"jama_spacea", "Dam", {"CC33CC"}},
    {"jama_spacea", "CrashSite", {"3399FF", "C105E7"}},
    {"schminkell7", "Entrance", {"006699"}},
    {"schminkell7", "Replicator", {"0000FF", "C4DF9B", "FF0000"}},
    {"schminkell7", "Storage", {"6666FF", "996600", "336600", "FF6633", "CC66FF", "FF6699", "006666"}},
    {"schminkell7",
     "Saucer",
     {"006666", "006600", "FF9900", "9933FF", "0066CC", "FF33FF", "996600", "6666FF", "666633", "0099FF"}},
    {"schminkell7", "Computer", {"00AEF0", "333366", "006600", "CC6600", "666600", "FF6666", "66CC66", "9966CC"}},
    {"varion", "Ppa", {"00AEF0", "00FF00", "FF0000"}},
    {"varion", "Start", {"0066FF", "D0AB1E", "00FF00"}},
    {"varion", "Barrier", {"00FF00", "754C24", "C69C6D", "00FFFF"}},
    {"varion", "Elevator", {"FF99FF", "0066FF"}},
    {"varion", "RCorridor", {"00FF00", "0066FF", "FF6600", "00A651"}},
    {"varion", "LCorridor", {"FF66FF", "00FF00"}},
    {"varion", "InfrontCargo", {"FF0000"}},
    {"varion", "LandingDock", {"00FF00"}},
    {"varion", "Warehouse", {"D0AB1E", "C4DF9B", "FF00FF", "FF0000"}},
    {"varion", "Prison", {"C105E7", "00FF00", "C69C6D", "00A651", "BFBFBF"}},
    {"varion", "Laboratory", {"FF00FF", "2E3192", "9E005D", "00AEF0"}},
    {"varion", "Sewers", {"FF0000"}},
};

// The achievements no step of the bundled story earns; README names them.
const std::set<std::string> UNREACHED_ACHIEVEMENTS = {"threat",       "rowbotics", "gorne_digger",   "child",
                                                      "pest",         "mutiny",    "halfway_done",   "lava",
                                                      "infiltration", "psychic",   "planet_crusher", "casual_master"};

// How wide a standing character is, and how tall before the scene's depth takes its share, in scene units.
const float FIGURE_WIDTH = 14.0f;
const float FIGURE_HEIGHT = 72.0f;

// Characters' overlays: bound in the scene file, laid over the figures at run time.
const std::set<std::string> OVERLAY_IDS = {"B007EE", "D0AB1E", "C0FFEE"};

uint32_t areaId(const char* colour) {
    return (uint32_t)std::stoul(colour, nullptr, 16);
}

bool hasArea(const ActionMap& map, uint32_t id) {
    for (const ActionMapArea& area : map.getAreas()) {
        if ((uint32_t)area.id == id) {
            return true;
        }
    }
    return false;
}

class StoryData : public RunningGame {
protected:
    // Enters the scene at once under the variables given. restore() puts back every variable as it was
    // before, whatever the row changed, so that no row depends on the rows before it.
    void enter(const std::string& scene, const std::vector<std::pair<const char*, const char*>>& state = {}) {
        if (saved.empty()) {
            for (const auto& [name, variable] : Vars::variables.variables) {
                saved.emplace_back(name, variable.value);
            }
        }
        for (const auto& [name, value] : state) {
            Vars::get(name)->setValue(value, true);
        }
        switchNow(scene.c_str());
        ASSERT_EQ(var("active_scene"), scene);
        ASSERT_EQ(Session::activeScene->actionMap->getName(), Session::activeScene->name);
    }
    // Also stands the scene's figures anew: the next entry places them as if they came in.
    void restore() {
        for (const auto& [name, value] : saved) {
            if (var(name) != value) {
                Vars::get(name)->setValue(value, true);
            }
        }
        saved.clear();
        for (nimboui::Object* object : Session::activeScene->root->getChildren()) {
            if (auto* reference = dynamic_cast<Character2DRef*>(object)) {
                reference->getCharacter()->setLastAttachScene("");
            }
        }
    }

    static void expectInMap(const char* colour) {
        if (!OVERLAY_IDS.count(colour)) {
            EXPECT_TRUE(hasArea(*Session::activeScene->actionMap, areaId(colour))) << colour;
        }
    }

    // The action bound to the area, which the scene's hotspot map holds unless it is an overlay.
    static Action* bound(const char* colour) {
        expectInMap(colour);
        uint32_t id = areaId(colour);
        auto found = Session::activeScene->actions.find(id);
        return found == Session::activeScene->actions.end() ? nullptr : found->second;
    }

    // Whether the scene binds the area to an action in one of its states (a thing that shows only at
    // times has its area only then).
    static bool boundAtTimes(const char* colour) {
        expectInMap(colour);
        const std::vector<BootCommand*>& commands = Session::activeScene->bootCommands;
        return std::any_of(commands.begin(), commands.end(), [&](BootCommand* command) {
            auto* binding = dynamic_cast<BootCommand_ActionSet*>(command);
            return binding && binding->areaId == areaId(colour);
        });
    }

    // Runs the action as a click with empty hands does and answers the scene switches it queued.
    static std::vector<std::string> switchesOf(Action* action) {
        Session::commandQueue.clear();
        action->execute();
        std::vector<std::string> switches;
        for (const String& command : Session::commandQueue) {
            if (command.startsWith("switch_scene ")) {
                switches.push_back(command.substr(13, command.find(' ', 13) - 13));
            }
        }
        Session::commandQueue.clear();
        return switches;
    }

    static std::string full(const char* chapter, const char* scene) {
        return std::string(scene).find('.') == std::string::npos ? std::string(chapter) + "." + scene : scene;
    }

    std::vector<std::pair<String, String>> saved;
};

TEST(StoryAchievements, EveryAchievementButTheUnreachedOnesHasAnUnlockInTheScenes) {
    std::set<std::string> unlocked;
    static const std::regex unlock(R"re(type="UnlockAchievement"[^>]*achievement="(\w+)")re");
    for (const auto& file : std::filesystem::recursive_directory_iterator("data/chapters")) {
        if (file.path().extension() != ".scene" && file.path().extension() != ".dlg") {
            continue;
        }
        std::string text = vessot::File::hread(file.path().string());
        for (std::sregex_iterator it(text.begin(), text.end(), unlock), end; it != end; ++it) {
            unlocked.insert((*it)[1]);
        }
    }
    std::string wrong;
    for (const char* id : Achievements::IDS) {
        if (unlocked.count(id) == UNREACHED_ACHIEVEMENTS.count(id)) {
            wrong += std::string(id) +
                     (unlocked.count(id) ? " is unlocked but listed as unreached\n" : " is never unlocked\n");
        }
    }
    EXPECT_EQ(wrong, "");
}

TEST(StoryFiles, EveryTextureThatADefinitionNamesExists) {
    static const std::regex texture(R"re(<(?:Texture|RamTexture)\b[^>]*\bfile="([^"$][^"]*)")re");
    int textures = 0;
    for (const auto& file : std::filesystem::recursive_directory_iterator("data")) {
        if (file.path().extension() != ".datadef") {
            continue;
        }
        std::string text = vessot::File::hread(file.path().string());
        for (std::sregex_iterator it(text.begin(), text.end(), texture), end; it != end; ++it, ++textures) {
            EXPECT_TRUE(std::filesystem::exists(file.path().parent_path() / (*it)[1].str()))
                << file.path() << " " << (*it)[1];
        }
    }
    EXPECT_GT(textures, 150);
}

TEST_F(StoryData, EveryExitOfTheRoutesLeadsToItsLinkedScene) {
    for (const Link& link : LINKS) {
        SCOPED_TRACE(std::string(link.chapter) + "." + link.from + " " + link.exit + " -> " + link.to);
        enter(full(link.chapter, link.from), link.state);
        Action* exit = bound(link.exit);
        ASSERT_NE(exit, nullptr);
        EXPECT_EQ(switchesOf(exit), std::vector<std::string>{full(link.chapter, link.to)});
        restore();
    }
}

TEST_F(StoryData, EverySceneExistsWithItsMapItsSolverAreasAndItsCharactersOnItsWalkMap) {
    std::set<std::string> scenes;
    for (const Link& link : LINKS) {
        scenes.insert(full(link.chapter, link.from));
        if (std::string(link.to) != "ship.Kitchen") {
            scenes.insert(full(link.chapter, link.to));
        }
    }
    for (const auto& [chapter, scene, colours] : SOLVER_AREAS) {
        scenes.insert(full(chapter, scene));
    }
    EXPECT_EQ(scenes.size(), 39u);
    // Every scene with a floor too, with the points its file walks whoever is played ("") to.
    static const std::regex walkTo(R"re(chr="\$current_character"[^>]*>\s*<Job type="Move" x="(\d+)" y="(\d+)")re");
    std::map<std::string, std::vector<std::pair<String, morvec::Vector2>>> spots;
    for (const auto& file : std::filesystem::recursive_directory_iterator("data/chapters")) {
        std::string text = file.path().extension() == ".scene" ? vessot::File::hread(file.path().string()) : "";
        std::string scene = file.path().stem().string(), chapter = file.path().parent_path().parent_path().filename();
        if (text.find("\"LBAMap\"") != std::string::npos && scene.find(".mobile") == std::string::npos) {
            std::string name = *scenes.insert(chapter + "." + scene.substr(0, scene.find('.'))).first;
            for (std::sregex_iterator it(text.begin(), text.end(), walkTo), end; it != end; ++it) {
                spots[name].emplace_back("", morvec::Vector2(std::stof((*it)[1]), std::stof((*it)[2])));
            }
        }
    }
    std::map<std::string, std::set<String>> shown; // the characters each scene, and each chapter, shows
    for (const std::string& name : scenes) {
        SCOPED_TRACE(name);
        enter(name);
        const lba::Map& walk = ZephJobs::getWalkMap(false);
        int references = 0;
        std::string arrivals;        // placements at a door that hold for more than the one coming in by it
        auto& entries = spots[name]; // a character and where it comes in, waits, stands or is walked to
        for (BootCommand* command : Session::activeScene->bootCommands) {
            auto* attach = dynamic_cast<BootCommand_AttachObject*>(command);
            auto* reference = attach ? dynamic_cast<Character2DRef*>(attach->object) : nullptr;
            if (reference && attach->savedPosition != morvec::Vector2(0, 0)) {
                entries.emplace_back(reference->getCharacterName(), attach->savedPosition);
            }
            for (size_t i = 0; reference && i < reference->getPlacements().size(); ++i, ++references) {
                const morvec::Vector3& at = reference->getPlacements()[i].position;
                EXPECT_TRUE(walk.isPointIn({at.x, at.y})) << reference->getName() << " " << at.x << "," << at.y;
                shown[name].insert(reference->getCharacterName());
                shown[name.substr(0, name.find('.'))].insert(reference->getCharacterName());
                // A placement that follows a story state (the one on a slab) is the story's to keep apart.
                const String& condition = reference->getPlacements()[i].condition;
                if (condition.contains("prev_scene") || condition.contains("current_character") || condition.empty()) {
                    entries.emplace_back(reference->getCharacterName(), morvec::Vector2(at.x, at.y));
                }
                if (condition.contains("prev_scene") &&
                    !(condition.contains("$switched_character==0") &&
                      condition.contains("$current_character==" + reference->getCharacterName()))) {
                    arrivals += reference->getName() + " " + condition + "\n";
                }
            }
        }
        // Where more than one is played, the door a character came in by places it only as it enters itself: not
        // when another comes in, nor at a switch.
        EXPECT_TRUE(shown[name].size() < 2 || arrivals.empty()) << arrivals;
        // No figure covers another: they stand side by side, or the one behind above the head of the one in front.
        for (const auto& [who, at] : entries) {
            for (const auto& [other, there] : entries) {
                float tall = FIGURE_HEIGHT - Session::activeScene->getDepthScale(std::max(at.y, there.y));
                EXPECT_TRUE(who == other || std::fabs(at.x - there.x) >= FIGURE_WIDTH ||
                            std::fabs(at.y - there.y) >= tall)
                    << who << " and " << other << " at " << there.x << "," << there.y;
            }
        }
        // Close-ups show nobody and need no walk map.
        EXPECT_EQ(references > 0, !walk.getRegions().empty());
    }
    // Where the crew shows, it shows whole: each one the chapter shows anywhere (its stand-ins have no placements).
    for (const std::string& name : scenes) {
        for (const String& who : shown[name.substr(0, name.find('.'))]) {
            EXPECT_TRUE(shown[name].empty() || shown[name].count(who)) << name << " does not show " << who;
        }
    }
    for (const auto& [chapter, scene, colours] : SOLVER_AREAS) {
        enter(full(chapter, scene));
        for (const char* colour : colours) {
            EXPECT_TRUE(boundAtTimes(colour)) << chapter << "." << scene << " " << colour;
        }
    }
}

// Nobody walks into the barrier's fountain: no point of its basin's area is walkable.
TEST_F(StoryData, NobodyWalksIntoTheBarriersFountain) {
    enter("varion.Barrier");
    const lba::Map& walk = ZephJobs::getWalkMap(false);
    int walkable = 0;
    for (int y = 0; y < 320; ++y) {
        for (int x = 0; x < 426; ++x) {
            walkable +=
                Session::activeScene->actionMap->getAreaAt(x, y) == 0x00FFFF && walk.isPointIn({(float)x, (float)y});
        }
    }
    EXPECT_EQ(walkable, 0);
}

// A click on a thing, with the item in hand, says what its state shows, and walks the one played only
// where the line sends it: then the line comes once the walk is over.
TEST_F(StoryData, EachThingAnswersAClickAsItsStateShows) {
    struct Click {
        const char* scene;
        std::vector<std::pair<const char*, const char*>> state;
        const char* colour;
        const char* item;
        const char* said;
        morvec::Vector2 walksTo = {};
    };
    const Click clicks[] = {
        {"varion.Start", {{"rowboat_has_tape", "1"}, {"rowboat_has_logo", "1"}}, "00FF00", "", "passes for a cargo"},
        {"jama_spacea.Dam", {{"explosives_placed", "1"}}, "CC33CC", "", "explosives sit snugly in the crack"},
        {"jama_spacea.CrashSite", {{"she_is_here", "1"}, {"she_cant_see", "1"}}, "C105E7", "", "can't see a thing"},
        // The saucer bay's slab sinks only once the heavy loads are off Luna's hands, on the slabs; the
        // computer room's takes the rowboat only once it is heavy, the displacer only while it is light,
        // saying no with the interface's line.
        {"schminkell7.Saucer", {{"current_character", "luna"}}, "6666FF", "", "does not budge"},
        {"schminkell7.Saucer",
         {{"current_character", "luna"}, {"box_on_saucer_slab", "1"}},
         "6666FF",
         "",
         "does not budge"},
        {"schminkell7.Saucer", {{"current_character", "danny"}}, "6666FF", "", "does not budge"},
        {"schminkell7.Computer", {}, "66CC66", "rowboat", "{ vorne }"},
        {"schminkell7.Storage", {{"rowboat_heavy", "1"}}, "6666FF", "rowboat", "{ vorne }"},
        // The prison's warden goes down under the pepper spray, and her spot says nothing once she is down;
        // the cell key opens the cell only with Luna there, who walks up to its door first.
        {"varion.Prison", {}, "C105E7", "pepper_spray", "the warden is down"},
        {"varion.Prison", {{"prison_she_down", "1"}}, "C105E7", "", ""},
        {"varion.Prison",
         {{"current_character", "luna"}, {"luna_scene", "varion.Prison"}, {"prison_she_down", "1"}},
         "00A651",
         "cell_key",
         "Luna steps in",
         {306, 250}},
        {"varion.Prison", {}, "00A651", "cell_key", "Luna should be here"},
        {"varion.Prison", {{"luna_is_interrogator", "1"}}, "00A651", "", "stands open"},
        {"varion.Laboratory", {{"black_hole_inserted", "1"}}, "2E3192", "", "sits firmly in its slot"},
        {"varion.Laboratory", {{"pacifist_report_inserted", "1"}}, "9E005D", "", "sits firmly in its slot"},
        {"varion.Laboratory", {{"strong_report_inserted", "1"}}, "00AEF0", "", "sits firmly in its slot"},
        {"varion.Elevator", {{"elevator_door_opened", "1"}}, "0066FF", "", "The lift is ours"},
        {"varion.Elevator", {}, "0066FF", "", "It wants a keycard"},
        // Burnt down in the blast, the pier's fuse cord answers nothing ("").
        {"jama_spacea.Pier", {{"explosives_placed", "1"}, {"dam_blownup", "1"}}, "00FF00", "", ""},
    };
    for (const Click& click : clicks) {
        SCOPED_TRACE(std::string(click.scene) + " " + click.colour + " " + click.item);
        enter(click.scene, click.state);
        size_t before = game->log().size();
        Inventory::setSelectedItem(click.item);
        Action* action = bound(click.colour);
        EXPECT_EQ(action != nullptr, *click.said != '\0');
        if (action) {
            action->execute();
            Character2D* current = Characters::getCurrentCharacter();
            auto* walk = current ? dynamic_cast<ZephJobs::SplineMove*>(current->getCurrentJob()) : nullptr;
            EXPECT_EQ(walk ? walk->getTarget() : morvec::Vector2(), click.walksTo);
            EXPECT_EQ(game->log().find(click.said, before) == std::string::npos, walk != nullptr);
            for (int frame = 0; walk && frame < 600 && current->getJobQueueSize() > 0; ++frame) {
                game->step();
            }
            EXPECT_NE(game->log().find(click.said, before), std::string::npos);
            if (current) {
                current->clearJobs();
            }
        }
        restore();
    }
}

// What a scene shows in a state: each figure once, before and after a change of who stands there, and where
// the state stands it; the picture of a thing's look only in its state.
TEST_F(StoryData, EachSceneShowsWhatItsStateBrings) {
    struct Shown {
        const char* scene;
        std::vector<std::pair<const char*, const char*>> state;
        const char* name; // a figure's character, or an object of the scene
        int count;
        morvec::Vector2 at = {}; // where the figure stands, when given
    };
    const Shown shown[] = {
        // The galley's cook until the replicator gives Danny back to the crew, then the crew's Danny.
        {"ship.Galley", {{"danny_scene", "ship.Galley"}}, "danny", 1},
        {"ship.Galley", {{"danny_scene", "ship.Galley"}, {"danny_alive", "1"}}, "danny", 1},
        // The sign over the galley's hatch while it leads down: to the planet, not in space, and to Varion.
        {"ship.Galley", {}, "galley_hatch_leads_down", 1},
        {"ship.Galley", {{"picked_up_aliens", "1"}}, "galley_hatch_leads_down", 0},
        {"ship.Galley", {{"picked_up_aliens", "1"}, {"mazslow_on_varion", "1"}}, "galley_hatch_leads_down", 1},
        // Luna stands in the cell's doorway once it is open, and the open cell shows only then.
        {"varion.Prison", {{"luna_scene", "varion.Prison"}}, "luna", 1, {240, 298}},
        {"varion.Prison", {{"luna_scene", "varion.Prison"}, {"luna_is_interrogator", "1"}}, "luna", 1, {306, 250}},
        {"varion.Prison", {}, "prison_luna_is_interrogator", 0},
        {"varion.Prison", {{"luna_is_interrogator", "1"}}, "prison_luna_is_interrogator", 1},
    };
    for (const Shown& row : shown) {
        SCOPED_TRACE(std::string(row.scene) + " " + row.name + " " + (row.state.empty() ? "" : row.state.back().first));
        enter(row.scene, row.state);
        int count = 0;
        for (nimboui::Object* object : Session::activeScene->root->getChildren()) {
            auto* reference = dynamic_cast<Character2DRef*>(object);
            if (reference && reference->getCharacterName() == row.name) {
                morvec::Vector3 at = reference->getCharacter()->getPosition();
                EXPECT_TRUE(row.at == morvec::Vector2() || row.at == morvec::Vector2(at.x, at.y))
                    << at.x << "," << at.y;
            }
            count += object->getName() == row.name || (reference && reference->getCharacterName() == row.name);
        }
        EXPECT_EQ(count, row.count);
        restore();
    }
}

TEST_F(StoryData, TheLaboratorysDoorsRememberTheCorridorOfWhoeverEnters) {
    const std::pair<const char*, const char*> doors[] = {
        {"varion.LaboratoryLeft", "varion.RCorridor"},
        {"varion.LaboratoryMiddle", "varion.Elevator"},
        {"varion.LaboratoryRight", "varion.LCorridor"},
    };
    const char* const characters[] = {"danny", "luna", "vorne"};
    for (const char* character : characters) {
        for (const auto& [door, corridor] : doors) {
            SCOPED_TRACE(std::string(character) + " " + door);
            std::map<std::string, String> before;
            for (const char* c : characters) {
                before[c] = var(String(c) + "_entered_from");
            }
            Vars::get("current_character")->setValue(character, true);
            enter(door);
            EXPECT_EQ(switchesOf(bound("FF00FF")), std::vector<std::string>{"varion.Laboratory"});
            for (const char* c : characters) {
                EXPECT_EQ(var(String(c) + "_entered_from"), c == character ? String(corridor) : before[c]) << c;
            }
        }
    }
}

TEST_F(StoryData, ThePpaQuestionnaireTakesTheAnswersTheHintsNameAndHandsOutItsReport) {
    struct Questionnaire {
        const char* character;
        const char* number;
        const char* answers[5];
        const char* report;
        const char* got;
    };
    const Questionnaire questionnaires[] = {
        {"danny",
         "pacifist_question_number",
         {"00AEF0", "00FF00", "00AEF0", "00AEF0", "FF0000"},
         "pacifist_report",
         "danny_got_report"},
        {"luna",
         "willpower_question_number",
         {"00FF00", "00AEF0", "FF0000", "00AEF0", "00FF00"},
         "strong_report",
         "luna_got_report"},
    };
    for (const Questionnaire& q : questionnaires) {
        SCOPED_TRACE(q.character);
        Vars::get("current_character")->setValue(q.character, true);
        enter("varion.Ppa");
        for (int n = 1; n <= 5; ++n) {
            ASSERT_EQ(var(q.number), String(n));
            // A wrong answer keeps the question; the right one moves on.
            std::string wrong = std::string(q.answers[n - 1]) == "FF0000" ? "00FF00" : "FF0000";
            bound(wrong.c_str())->execute();
            EXPECT_EQ(var(q.number), String(n));
            EXPECT_FALSE(Inventory::hasItem(q.report));
            bound(q.answers[n - 1])->execute();
        }
        EXPECT_EQ(var(q.number), "6");
        EXPECT_EQ(var(q.got), "1");
        EXPECT_TRUE(Inventory::hasItem(q.report));
    }
}

} // namespace
