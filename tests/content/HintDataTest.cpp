// What the hints name in the bundled data: the solvers' variables are initial variables; every room
// of the hinted chapters is a node of the route graph, left through the areas of its exits; every
// exit of the route graph that leaves a room of the ship is an area whose action goes to the link's
// scene; every area a solver points at, in every chapter, has an action; every item the marker
// shows has its picture and every item a spoken step names has its name. The solvers' names are
// read from their sources, so a row added there is checked here too. Besides: every item the story
// hands out has its name and pictures, every item's painted name stays on its tile, and the story
// scenes' areas are marked where a click lands in them, with no area, no drawn label and, on either
// layout, no figure's spot under the HUD's buttons.
#include "HintFixture.h"

#include "engine/scene/ActionMap.h"
#include "engine/scene/BootCommand.h"
#include "script/Action.h"
#include "ui/Hud.h"
#include "ui/SceneRoutes.h"

#include "morvec/Rectangle.h"
#include "nimbo/Image.h"
#include "runel/Renderer.h"
#include "vessot/File.h"
#include "vessxml/Xml.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The solver sources by chapter name.
std::map<std::string, std::string> solverSources() {
    std::map<std::string, std::string> sources;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(SOURCE_DIR) / "src/chapters")) {
        std::string file = entry.path().filename().string();
        if (file.size() > 9 && file.substr(file.size() - 9) == "Hints.cpp") {
            std::stringstream text;
            text << std::ifstream(entry.path()).rdbuf();
            sources[entry.path().parent_path().filename().string()] = text.str();
        }
    }
    return sources;
}

// Every first group of the pattern in the text.
std::set<std::string> matches(const std::string& text, const std::string& pattern, int group = 1) {
    std::set<std::string> found;
    std::regex expression(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), expression); it != std::sregex_iterator(); ++it) {
        found.insert((*it)[group].str());
    }
    return found;
}

// Whether the data holds a scene file for the scene ("chapter.Scene").
bool inData(const std::string& fullName) {
    std::string chapter = fullName.substr(0, fullName.find('.'));
    std::string scene = fullName.substr(fullName.find('.') + 1);
    fs::path folder = fs::path(SOURCE_DIR) / "data/chapters" / chapter / "scenes";
    return fs::exists(folder / (scene + ".scene")) || fs::exists(folder / (scene + ".pc.scene"));
}

class HintData : public HintGame {};

// Every item a scene or a conversation hands out has its name, which the inventory's label and the
// hints show, and its pictures in the panel: as it lies, under the pointer and pressed.
TEST(ItemData, EveryItemTheStoryHandsOutHasItsNameAndItsPictures) {
    std::stringstream texts;
    texts << std::ifstream(fs::path(SOURCE_DIR) / "data/ui/texts/en.xml").rdbuf();
    std::stringstream pictures;
    pictures << std::ifstream(fs::path(SOURCE_DIR) / "data/ui/ui_hd.datadef").rdbuf();
    std::set<std::string> items;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(SOURCE_DIR) / "data")) {
        std::string extension = entry.path().extension().string();
        if (extension == ".scene" || extension == ".dlg") {
            std::stringstream text;
            text << std::ifstream(entry.path()).rdbuf();
            std::set<std::string> found = matches(text.str(), R"re(type="AddItem" item="([A-Za-z0-9_]+)")re");
            items.insert(found.begin(), found.end());
        }
    }
    EXPECT_GT(items.size(), 80u);
    for (const std::string& item : items) {
        EXPECT_NE(texts.str().find("key=\"obj_" + item + "\""), std::string::npos) << item;
        for (const char* look : {"", "hover_", "pushed_"}) {
            EXPECT_NE(pictures.str().find("\"items/" + std::string(look) + item + "\""), std::string::npos)
                << look << item;
        }
    }
}

// Every item's name painted on its tile in the hints' picture is its English name (artgen lists the
// names it paints beside the picture), and stays on the tile's light face, clear of the dark rim and
// of the cell's edge: no letter's full white lies outside it.
TEST(ItemData, EveryItemsPaintedNameStaysOnItsTile) {
    std::stringstream text, texts;
    text << std::ifstream(fs::path(SOURCE_DIR) / "data/ui/ui_hd.datadef").rdbuf();
    texts << std::ifstream(fs::path(SOURCE_DIR) / "data/ui/texts/en.xml").rdbuf();
    const std::string pictures = text.str(), itemTexts = texts.str();
    std::map<std::string, std::string> painted, english;
    std::ifstream list(fs::path(SOURCE_DIR) / "data/ui/textures/hints_hd.names");
    for (std::string picture, name; list >> picture && std::getline(list >> std::ws, name);) {
        painted[picture] = name;
    }
    std::regex entry(R"re(key="obj_(\w+)">([^<]*)<)re");
    for (auto it = std::sregex_iterator(itemTexts.begin(), itemTexts.end(), entry); it != std::sregex_iterator();
         ++it) {
        english["items/" + (*it)[1].str()] = (*it)[2];
    }
    nimbo::Image tiles = nimbo::Image::load((fs::path(SOURCE_DIR) / "data/ui/textures/hints_hd.png").string());
    std::regex tile(R"re("items/(\w+)" texture="hints" x="(\d+)" y="(\d+)" w="64" h="64")re");
    std::string outside, misnamed;
    int names = 0;
    for (auto it = std::sregex_iterator(pictures.begin(), pictures.end(), tile); it != std::sregex_iterator();
         ++it, ++names) {
        const std::string picture = "items/" + (*it)[1].str();
        misnamed += english.count(picture) && painted[picture] != english[picture] ? picture + " " : "";
        int left = std::stoi((*it)[2]), top = std::stoi((*it)[3]);
        bool over = false;
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) {
                nimbo::Color c = tiles.getPixel(left + x, top + y);
                bool face = x >= 6 && x < 58 && y >= 6 && y < 58;
                over = over || (!face && std::min({c.r, c.g, c.b}) >= 215);
            }
        }
        outside += over ? (*it)[1].str() + " " : "";
    }
    EXPECT_GT(names, 80);
    EXPECT_EQ(outside, "");
    EXPECT_EQ(misnamed, "");
}

// The conditions an element stands under: its own and those of the elements and "if"s around it.
std::string conditionsOf(vessxml::Node* node) {
    std::string all;
    for (; node; node = node->getParent()) {
        all += std::string(node->pstr(*node == "if" ? "t" : "condition", "")) + ";";
        node = *node == "else" ? node->getParent() : node;
    }
    return all;
}

// Whether the action or one inside it sets the variable to 1.
bool setsToOne(vessxml::Node* action, const std::string& variable) {
    if (action->pstr("type", "") == "SetVar" && action->pstr("var", "") == variable.c_str() &&
        action->pstr("value", "") == "1") {
        return true;
    }
    return std::any_of(action->children().begin(), action->children().end(),
                       [&](vessxml::Node* child) { return setsToOne(child, variable); });
}

// A thing a place hands out once (added while a variable is 0 that its area sets to 1, for nothing
// taken in exchange nor given back after it was put there) leaves the place's picture: an object of
// the scene shows the place without it once the variable is 1. The pictures artgen draws for a
// place's states lie where it lists them, in its order.
TEST(ItemData, EveryThingTakenFromAPlaceLeavesItsPicture) {
    std::string stays;
    int pickups = 0;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(SOURCE_DIR) / "data/chapters")) {
        if (entry.path().extension() != ".scene") {
            continue;
        }
        vessxml::Document document = vessxml::open(entry.path().string());
        std::set<std::string> flags, shown;
        std::function<void(vessxml::Node*, vessxml::Node*)> walk = [&](vessxml::Node* node, vessxml::Node* area) {
            area = node->pexists("color") ? node : area;
            bool exchange = node->getParent() && std::any_of(node->getParent()->children().begin(),
                                                             node->getParent()->children().end(), [](auto* sibling) {
                                                                 return sibling->pstr("type", "") == "RemoveItem" ||
                                                                        (sibling->pstr("type", "") == "SetVar" &&
                                                                         sibling->pstr("value", "") == "0");
                                                             });
            for (const std::string& flag : matches(conditionsOf(node), R"(\$(\w+)==0\b)")) {
                if (area && node->pstr("type", "") == "AddItem" && !exchange && setsToOne(area, flag)) {
                    flags.insert(flag);
                }
            }
            if (*node == "Object") {
                std::set<std::string> on = matches(conditionsOf(node), R"(\$(\w+)==1\b)");
                shown.insert(on.begin(), on.end());
            }
            for (vessxml::Node* child : node->children()) {
                walk(child, area);
            }
        };
        walk(document.operator->(), nullptr);
        for (const std::string& flag : flags) {
            stays += shown.count(flag) ? "" : entry.path().stem().string() + " " + flag + "\n";
        }
        pickups += (int)flags.size();
        std::string scene = document->pstr("name", "").c_str();
        std::ifstream states(entry.path().parent_path().parent_path() / "hotspots" / (scene + ".states"));
        std::stringstream text;
        text << std::ifstream(entry.path()).rdbuf();
        size_t at = 0;
        for (std::string x, y, w, h, state; states >> x >> y >> w >> h >> state && at != std::string::npos;) {
            at = text.str().find("x=\"" + x + "\" y=\"" + y + "\" w=\"" + w + "\" h=\"" + h + "\" image=\"" + scene +
                                     "_" + state + "\"",
                                 at);
            EXPECT_NE(at, std::string::npos)
                << scene << " " << state << " is not laid at " << x << "," << y << " in order";
        }
    }
    EXPECT_GT(pickups, 40);
    EXPECT_EQ(stays, "");
}

// The interface's buttons in the screen's corners on a computer, in the units of a scene as wide as the
// screen: with each aspect the settings offer, in windows of 4:3, 3:2, 16:9 and wider.
std::vector<morvec::Rectangle> cornerButtons(GameHarness& game) {
    std::vector<morvec::Rectangle> buttons;
    for (const char* aspect : {"4:3", "3:2", "16:10", "16:9", "screen"}) {
        for (int width : {640, 720, 854, 1120}) {
            Session::params["aspect"] = aspect;
            game.resize(width, 480);
            game.step();
            morvec::Vector2 origin = game.sceneToWindow(0, 0), unit = game.sceneToWindow(1, 1) - origin;
            for (const char* name :
                 {"inv_button", "diary_button", "ingame_menu_button", "hint_button", "character_button"}) {
                nimboui::Object* b = game.uiObject(name);
                morvec::Vector2 at = GameHarness::centreOf(b) - b->getSize() * 0.5f;
                morvec::Vector2 p = game.guiToWindow(at.x, at.y) - origin;
                morvec::Vector2 q = game.guiToWindow(at.x + b->getWidth(), at.y + b->getHeight()) - origin;
                buttons.emplace_back(p.x / unit.x, p.y / unit.y, (q.x - p.x) / unit.x, (q.y - p.y) / unit.y);
            }
        }
    }
    return buttons;
}

// A hint's marker points at its area's reference point, and a player clicks around the marker's tip:
// the point lies well inside the area (three units each way). Where the scene shows the HUD, neither
// the point nor a label drawn on the background (artgen lists them beside the hotspot picture) lies
// under the corners' buttons, which take the clicks there; a wide scene at either end of its scroll.
// Nor does the banner with the scene's name lie in the band of the hover label, on either layout.
TEST_F(HintData, EveryStoryAreaIsMarkedWellInsideItAndNoMarkNorLabelLiesUnderTheButtons) {
    const std::vector<morvec::Rectangle> buttons = cornerButtons(*game);
    // The band along the top where the hover label names what lies under the pointer, however long: on
    // the computer's layout and on the mobile one, whose label is larger.
    float bandBottom = 0;
    for (const char* layout : {"mobile", "pc"}) {
        Session::params["ui"] = layout;
        const Hud::RolloverLayout rollover = Hud::layoutRollover();
        bandBottom = std::max(bandBottom, rollover.rect.y + runel::renderer->getTextHeight(rollover.font, "Ag", 1000));
    }
    auto underAButton = [&](const morvec::Rectangle& r, float sceneWidth) {
        return std::any_of(buttons.begin(), buttons.end(), [&](const morvec::Rectangle& b) {
            return r.intersects(b) || r.intersects(morvec::Rectangle(b.x + sceneWidth - 426, b.y, b.w, b.h));
        });
    };
    int areas = 0;
    for (const char* chapter : {"ship", "jama_spacea", "schminkell7", "varion", "terra_nuova"}) {
        fs::path folder = fs::path(SOURCE_DIR) / "data/chapters" / chapter;
        for (const auto& file : fs::directory_iterator(folder / "action_maps")) {
            ActionMap map(file.path().string());
            std::string scene = file.path().stem().string();
            fs::path path = folder / "scenes" / (scene + ".scene");
            std::stringstream text;
            text << std::ifstream(fs::exists(path) ? path : folder / "scenes" / (scene + ".pc.scene")).rdbuf();
            bool hud = !std::regex_search(text.str(), std::regex(R"re(<Scene [^>]*hide_ui="[13]")re"));
            for (const ActionMapArea& area : map.getAreas()) {
                SCOPED_TRACE(file.path().filename().string() + " " + std::string(String::hex((unsigned)area.id, 6)));
                for (auto [dx, dy] : {std::pair{0, 0}, {-3, 0}, {3, 0}, {0, -3}, {0, 3}}) {
                    EXPECT_EQ(map.getAreaAt(area.px + dx, area.py + dy), (uint32_t)area.id) << dx << "," << dy;
                }
                EXPECT_FALSE(hud && underAButton(morvec::Rectangle(area.px - 2, area.py - 2, 4, 4), map.headerA));
                ++areas;
            }
            std::ifstream labels(folder / "hotspots" / (scene + ".labels"));
            EXPECT_TRUE(labels.is_open() || !hud) << scene;
            morvec::Rectangle box;
            std::string label;
            while (labels >> box.x >> box.y >> box.w >> box.h && std::getline(labels >> std::ws, label)) {
                EXPECT_FALSE(hud && underAButton(box, map.headerA)) << scene << " " << label;
            }
            // The last is the banner with the scene's name.
            EXPECT_FALSE(hud && box.y < bandBottom) << scene << " " << label << " lies in the hover label's band";
        }
    }
    EXPECT_GT(areas, 130);
}

// Where a layout's scene files stand a figure or walk one to, in the scenes that show the HUD: no figure's
// feet lie under the layout's buttons, which would hide them; a wide scene at either end of its scroll.
void expectNoFigureUnderTheButtons(GameHarness& game, const std::string& layout) {
    const std::vector<morvec::Rectangle> buttons = cornerButtons(game);
    static const std::regex spot(R"re((?:value="|type="(?:Character2D|Move)"[^>]*\bx=")(\d+)(?:,|" y=")(\d+))re");
    int spots = 0;
    for (const auto& file : fs::recursive_directory_iterator(fs::path(SOURCE_DIR) / "data/chapters")) {
        std::string name = file.path().filename().string();
        if (file.path().extension() != ".scene" ||
            (name.find(".mobile.") != name.find(".pc.") && name.find("." + layout + ".") == std::string::npos)) {
            continue;
        }
        std::stringstream text;
        text << std::ifstream(file.path()).rdbuf();
        std::smatch width;
        std::string scene = text.str();
        float sceneWidth = std::regex_search(scene, width, std::regex(R"re(<Scene [^>]*\bwidth="(\d+)")re"))
                               ? std::stof(width[1])
                               : 426;
        if (std::regex_search(scene, std::regex(R"re(<Scene [^>]*hide_ui="[13]")re"))) {
            continue;
        }
        for (std::sregex_iterator it(scene.begin(), scene.end(), spot), end; it != end; ++it, ++spots) {
            float x = std::stof((*it)[1]), y = std::stof((*it)[2]);
            morvec::Rectangle feet(x - 2, y - 2, 4, 4);
            EXPECT_FALSE(std::any_of(buttons.begin(), buttons.end(),
                                     [&](const morvec::Rectangle& b) {
                                         return feet.intersects(b) || feet.intersects(morvec::Rectangle(
                                                                          b.x + sceneWidth - 426, b.y, b.w, b.h));
                                     }))
                << name << " " << x << "," << y;
        }
    }
    EXPECT_GT(spots, 250);
}

TEST_F(HintData, NoFigureStandsUnderTheButtons) {
    expectNoFigureUnderTheButtons(*game, "pc");
}

class MobileHintData : public HintData {
protected:
    GameHarness::Options options() const override { return GameHarness::Options::mobile(); }
};

TEST_F(MobileHintData, NoFigureStandsUnderTheButtons) {
    expectNoFigureUnderTheButtons(*game, "mobile");
}

TEST_F(HintData, EverythingTheSolversReadIsAnInitialVariable) {
    std::map<std::string, std::string> sources = solverSources();
    ASSERT_EQ(sources.size(), 5u);
    std::set<std::string> names;
    for (const auto& [chapter, text] : sources) {
        for (const char* pattern : {R"re(number\("([^"]+)"\))re", R"re(Vars::(?:value|get)\("([^"]+)"\))re",
                                    R"re(\{"([a-z][a-z0-9_/]*)", "[A-Za-z.]+", ")re"}) {
            std::set<std::string> found = matches(text, pattern);
            names.insert(found.begin(), found.end());
        }
    }
    EXPECT_GT(names.size(), 150u);
    for (const char* character : {"vorne", "luna", "danny"}) {
        for (const char* suffix : {"_items", "_scene", "_entered_from"}) {
            names.insert(std::string(character) + suffix);
        }
    }
    for (const std::string& name : names) {
        EXPECT_TRUE(Vars::variables.exists(name)) << name;
    }
}

TEST_F(HintData, EveryExitOfTheShipsRoomsLeadsToItsLinksScene) {
    int exits = 0;
    // The ship's rooms; the planets' ways open with their stories, which their own tests play.
    for (const auto& [from, links] : SceneRoutes::links) {
        if (!from.startsWith("ship.")) {
            continue;
        }
        ASSERT_TRUE(inData(from)) << from;
        for (const RouteLink& link : links) {
            SCOPED_TRACE(from + " -> " + link.to);
            // The kitchen's hatch leads down to where the ship stands: Varion or Jama Spacea while
            // Mazslow is there.
            game->setVar("mazslow_on_varion", link.to.startsWith("varion.") ? "1" : "0");
            game->setVar("mazslow_on_jama", link.to.startsWith("jama_spacea.") ? "1" : "0");
            switchNow(from);
            auto action = Session::activeScene->actions.find(link.exit.hexToUInt());
            ASSERT_NE(action, Session::activeScene->actions.end());
            action->second->execute();
            // The galley's door is reached on foot first.
            for (int i = 0; i < 600 && var("active_scene") == from; ++i) {
                game->step();
            }
            game->finishTransition();
            EXPECT_EQ(var("active_scene"), link.to);
            ++exits;
        }
    }
    EXPECT_EQ(exits, 17);
}

// The exits of a scene file's areas, each as its colour, ">" and the scene it leads to ("*" for one a
// variable names).
void collectExits(vessxml::Node* node, const std::string& chapter, std::string colour, std::set<std::string>& exits) {
    colour = node->pstr("color", colour.c_str());
    std::string to = node->pstr("type", "") == "SwitchScene" ? node->pstr("scene") : "";
    if (!colour.empty() && !to.empty()) {
        exits.insert(colour + ">" + (to[0] == '$' ? "*" : to.find('.') == std::string::npos ? chapter + "." + to : to));
    }
    for (vessxml::Node* child : node->children()) {
        collectExits(child, chapter, colour, exits);
    }
}

// Every scene of the hinted chapters that has an exit, and every scene but a minigame that the story's
// path names, is a node of the route graph, but those left by a rule of their own: the drawing, the
// diary and the safe close back to where they were opened, the rowboat's crossing lands at the pier,
// and the laboratory is left by the door its visitor came in. Each link leaves through an area of its
// scene's hotspot map whose action leads to the link's scene.
TEST_F(HintData, EveryRoomOfTheHintedChaptersIsANodeLeftThroughItsExits) {
    std::stringstream path;
    for (const auto& file : fs::directory_iterator(fs::path(SOURCE_DIR) / "tests/play/story")) {
        path << std::ifstream(file.path()).rdbuf();
    }
    std::set<std::string> rooms = matches(path.str(), R"re("((?:ship|jama_spacea|schminkell7|varion)\.\w+)")re");
    std::map<std::string, std::set<std::string>> exits;
    for (const char* chapter : {"ship", "jama_spacea", "schminkell7", "varion"}) {
        for (const auto& file : fs::directory_iterator(fs::path(SOURCE_DIR) / "data/chapters" / chapter / "scenes")) {
            vessxml::Document document = vessxml::open(file.path().string());
            std::string name = chapter + ("." + document->pstr("name"));
            collectExits(document.operator->(), chapter, "", exits[name]);
            if (document->pexists("type")) {
                rooms.erase(name); // a minigame, where nobody stands
            } else if (!exits[name].empty()) {
                rooms.insert(name);
            }
        }
    }
    std::string faults;
    for (const char* room : {"ship.Schematics", "jama_spacea.Diary", "jama_spacea.Safe", "jama_spacea.RowboatToPier",
                             "varion.Laboratory"}) {
        faults += SceneRoutes::links.count(room) ? std::string(room) + ": a node\n" : "";
        rooms.erase(room);
    }
    for (const std::string& room : rooms) {
        faults += SceneRoutes::links.count(room) ? "" : room + ": no node\n";
    }
    for (const auto& [from, leaving] : SceneRoutes::links) {
        std::string chapter = from.substr(0, from.find('.'));
        ActionMap map((fs::path(SOURCE_DIR) / "data/chapters" / chapter / "action_maps" /
                       (from.substr(chapter.size() + 1) + ".amp"))
                          .string());
        for (const RouteLink& link : leaving) {
            std::string exit = link.exit + ">";
            bool leads = exits[from].count(exit + link.to) || exits[from].count(exit + "*");
            if (!leads || map.getAreaPosition(link.exit.hexToUInt()) == morvec::Vector2(0, 0)) {
                faults += exit + link.to + " from " + from + ": no such exit\n";
            }
        }
    }
    EXPECT_GT(rooms.size(), 40u);
    EXPECT_EQ(faults, "");
}

TEST_F(HintData, UsingTheSchematicsOpensTheDrawingWhoseEdgeReturns) {
    switchNow("ship.Kitchen");
    uiChapter->getNamedAction("use:schematics")->execute();
    game->step(2);
    game->finishTransition();
    EXPECT_EQ(game->activeScene(), "ship.Schematics");
    EXPECT_EQ(var("schematics_prev_scene"), "1");
    Session::activeScene->actions.at(0x0000FF)->execute();
    game->step(2);
    game->finishTransition();
    EXPECT_EQ(game->activeScene(), "ship.Kitchen");
}

TEST_F(HintData, EveryAreaASolverNamesHasAnAction) {
    // The rows that name an area without a route step: the router's dials, the drawing's edge, the
    // cockpit's computer at the end of the tutorial and of the first part, the kitchen's oven.
    std::set<std::pair<std::string, std::string>> areas = {{"ship.Router", "FF0099"},
                                                           {"ship.Schematics", "0000FF"},
                                                           {"ship.Cockpit", "00FF00"},
                                                           {"ship.Kitchen", "009900"},
                                                           {"ship.Kitchen", "FF99FF"}};
    std::regex step(R"re((?:hintToward|lunaAt|dannyAt)\((?:"\w+",\s*)?"([\w.]+)",([^;]*)\);)re");
    for (const auto& [chapter, text] : solverSources()) {
        for (auto it = std::sregex_iterator(text.begin(), text.end(), step); it != std::sregex_iterator(); ++it) {
            std::string scene = (*it)[1].str();
            std::string full = scene.find('.') == std::string::npos ? chapter + "." + scene : scene;
            for (const std::string& colour : matches((*it)[2].str(), R"re("([0-9A-F]{6})(?=[|"]))re")) {
                areas.insert({full, colour});
            }
        }
    }
    // Every chapter's scenes are in the data: each area is checked.
    for (const auto& [scene, colour] : areas) {
        ASSERT_TRUE(inData(scene)) << scene;
        switchNow(scene);
        // A thing that shows only at times has its area only then.
        const std::vector<BootCommand*>& commands = Session::activeScene->bootCommands;
        EXPECT_TRUE(std::any_of(commands.begin(), commands.end(),
                                [&](BootCommand* command) {
                                    auto* binding = dynamic_cast<BootCommand_ActionSet*>(command);
                                    return binding && binding->areaId == vessot::String(colour).hexToUInt();
                                }))
            << scene << " " << colour;
    }
    EXPECT_GT(areas.size(), 80u);
}

TEST_F(HintData, EveryMarkedItemHasItsPictureAndEveryNamedItemItsName) {
    std::set<std::string> pictures;
    std::set<std::string> names;
    for (const auto& [chapter, text] : solverSources()) {
        std::set<std::string> marked = matches(text, R"re("[0-9A-F]{6}\|(\w+)")re");
        pictures.insert(marked.begin(), marked.end());
        for (int group : {1, 2}) {
            std::set<std::string> combined = matches(text, R"re("combine:(\w+)\+(\w+)")re", group);
            names.insert(combined.begin(), combined.end());
        }
        std::set<std::string> used = matches(text, R"re("(?:use|look):(\w+)")re");
        names.insert(used.begin(), used.end());
    }
    EXPECT_GT(pictures.size(), 50u);
    EXPECT_TRUE(pictures.count("cursor_use"));
    for (const std::string& item : pictures) {
        EXPECT_NE(uiChapter->findImage("items/" + item), nullptr) << item;
    }
    EXPECT_GT(names.size(), 25u);
    for (const std::string& item : names) {
        EXPECT_TRUE(uiChapter->textExists("obj_" + item)) << item;
    }
}

} // namespace
