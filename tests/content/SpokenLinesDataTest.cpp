// Every line the bundled scenes speak shows as a subtitle: a "Say" action's prefix and text, and the
// text of a "say" command, must name a speaker or otherwise yield a piece with words in it. A line
// without one is timed but never drawn, so the player clicks and sees nothing. Others' lines are
// never the current character's. And every look, use and talk of the story's hotspots, and every
// item they take, shows or sounds something.
#include "script/SayText.h"

#include "vessot/Array.h"

#include "vessxml/Xml.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>

namespace {

namespace fs = std::filesystem;

using Texts = std::map<String, String>;

Texts readTexts(const fs::path& chapter) {
    Texts texts;
    fs::path file = chapter / "texts" / "en.xml";
    if (fs::exists(file)) {
        vessxml::Document document = vessxml::open(file.string());
        for (vessxml::Node* text : document->children()) {
            texts[text->pstr("key")] = text->getText();
        }
    }
    return texts;
}

// The chapter's text of the key, or of key + "-" + a playable character, as the game picks it.
const String* findText(const Texts& texts, const String& key) {
    for (const String& candidate : {key, key + "-vorne", key + "-luna", key + "-danny"}) {
        auto it = texts.find(candidate);
        if (it != texts.end()) {
            return &it->second;
        }
    }
    return nullptr;
}

bool showsWords(const String& line) {
    for (const SayText::Piece& piece : SayText::scan(line, 1.0f).pieces) {
        if (piece.text.find_first_not_of(' ') != String::npos) {
            return true;
        }
    }
    return false;
}

// The keys of "say" commands in a command string ("a;say KEY;b").
std::vector<String> sayCommandKeys(const String& commands) {
    std::vector<String> keys;
    for (const String& command : commands.split(";")) {
        String trimmed = command.trimmed();
        if (trimmed.startsWith("say ")) {
            keys.push_back(trimmed.substr(4).split(" ")[0]);
        }
    }
    return keys;
}

// The keys of lines that others say (the keeper, the old man, the guard, the clone, the clerk, the
// prisoner, the warden, Luna, the PPA terminal, the cargo gate): never in the current character's mouth.
const std::regex OTHERS_LINE(
    R"((KEEPER|OLDMAN|GUARD|CLONE|LUNA)_\w+|PRISONER_(PPA|ROTOSCOPE)|SHE_GUARD|OFFICE_PAPERS|PPA_WRONG|GATE_CLOSED)");

void checkElement(vessxml::Node* element, const Texts& texts, const String& where, std::vector<String>& silent) {
    String context = where + " " + element->describe();
    if (*element == "Action" && element->pstr("type", "") == "Say") {
        const String* text = findText(texts, element->pstr("key"));
        if (text && !showsWords(element->pstr("prefix", "") + *text)) {
            silent.push_back(context + ": " + *text);
        }
        if (std::regex_match(std::string(element->pstr("key")), OTHERS_LINE) &&
            element->pstr("prefix", "").contains("$current_character")) {
            silent.push_back(context + ": another's line spoken by the current character");
        }
    }
    for (const String& key : sayCommandKeys(element->pstr("cmd", ""))) {
        const String* text = findText(texts, key);
        if (text && !showsWords(*text)) {
            silent.push_back(context + ": say " + key);
        }
    }
    for (vessxml::Node* child : element->children()) {
        checkElement(child, texts, where, silent);
    }
}

// What a player notices of an action: a line, a conversation, a scene switch, a sound, an item
// handed over, a character sent on its way, the game's end, the scene redrawn after a variable
// changed (an achievement's popup shows only once). Verb coins and item actions are checked verb by
// verb.
const std::set<String> NOTICED = {"Say",         "Text",      "GenericText", "Dialog",
                                  "SwitchScene", "PlaySound", "AddItem",     "CommandCharacter",
                                  "EndProgram",  "Multiple",  "ItemAction"};
const std::regex NOTICED_COMMAND(R"((^|;) *(say|switch_scene|play_sound|dialog|reset_scene)\b)");

using Named = std::map<String, vessxml::Node*>;

bool noticed(vessxml::Node* action, const Named& named) {
    String type = action->pstr("type", "");
    auto reference = named.find(action->pstr("ref", ""));
    if (type == "Reference") {
        return reference != named.end() && noticed(reference->second, named);
    }
    if (type == "Composite") {
        // Noticed through one of its actions, unless that one waits for a variable to hold another
        // value than the one the composite always sets it to: a second click then shows nothing.
        std::map<std::string, std::string> sets;
        for (vessxml::Node* child : action->children()) {
            if (!child->pexists("condition") && child->pstr("type", "") == "SetVar") {
                sets[child->pstr("var")] = child->pstr("value");
            }
        }
        static const std::regex test(R"(\$(\w+)==(\S*))");
        return std::any_of(action->children().begin(), action->children().end(), [&](vessxml::Node* child) {
            std::string condition = child->pstr("condition", "");
            std::smatch match;
            bool closed =
                std::regex_match(condition, match, test) && sets.count(match[1]) && sets[match[1]] != match[2];
            return !closed && noticed(child, named);
        });
    }
    return NOTICED.count(type) || std::regex_search(std::string(action->pstr("cmd", "")), NOTICED_COMMAND) ||
           (type.endsWith("Var") && action->pstr("reset", "true") != "false");
}

// The verbs of an area's action that show nothing: of the look, use and talk of its verb coin, its
// click with empty hands and each item it takes, in each branch of a composite that holds such choices.
void collectSilentVerbs(vessxml::Node* action, const Named& named, const String& verb, std::vector<String>& silent) {
    String type = action->pstr("type", "");
    auto reference = named.find(action->pstr("ref", ""));
    const std::vector<vessxml::Node*>& children = action->children();
    auto choice = [](vessxml::Node* child) {
        return child->pstr("type", "") == "Multiple" || child->pstr("type", "") == "ItemAction";
    };
    if (type == "Reference" && reference != named.end()) {
        collectSilentVerbs(reference->second, named, verb, silent);
    } else if (choice(action) || (type == "Composite" && std::any_of(children.begin(), children.end(), choice))) {
        for (vessxml::Node* child : children) {
            String option = child->pstr(type == "Multiple" ? "multiple" : "itemaction", "");
            if (type == "Composite" || type == "ItemAction" || option == "look" || option == "use" ||
                option == "talk") {
                collectSilentVerbs(child, named, option.empty() || option == "noitem" ? verb : option, silent);
            }
        }
    } else if (!noticed(action, named)) {
        silent.push_back(verb);
    }
}

// The scene file's named actions and its areas' actions.
void readActions(vessxml::Node* node, Named& named, std::vector<vessxml::Node*>& areas) {
    if (*node == "Action" && node->pexists("name")) {
        named[node->pstr("name")] = node;
    }
    if (*node == "Action" && node->pexists("color")) {
        areas.push_back(node);
    }
    for (vessxml::Node* child : node->children()) {
        readActions(child, named, areas);
    }
}

} // namespace

TEST(SpokenLinesData, EveryLookUseAndTalkOfTheStorysHotspotsShowsOrSoundsSomething) {
    std::string silent;
    int areas = 0;
    for (const fs::directory_entry& chapter : fs::directory_iterator("data/chapters")) {
        for (const fs::directory_entry& file : fs::directory_iterator(chapter.path() / "scenes")) {
            vessxml::Document document = vessxml::open(file.path().string());
            Named named;
            std::vector<vessxml::Node*> actions;
            readActions(document.operator->(), named, actions);
            for (vessxml::Node* area : actions) {
                std::vector<String> verbs;
                collectSilentVerbs(area, named, "click", verbs);
                for (const String& verb : verbs) {
                    silent += String(file.path().filename().string()) + " " + area->pstr("color") + " " + verb + "\n";
                }
                ++areas;
            }
        }
    }
    EXPECT_GT(areas, 200);
    EXPECT_EQ(silent, "");
}

TEST(SpokenLinesData, EveryLineTheScenesSpeakShowsAsASubtitleOfItsSpeaker) {
    std::vector<fs::path> chapters{"data/ui"};
    for (const fs::directory_entry& entry : fs::directory_iterator("data/chapters")) {
        chapters.push_back(entry.path());
    }
    std::vector<String> silent;
    int scenes = 0;
    for (const fs::path& chapter : chapters) {
        Texts texts = readTexts(chapter);
        if (!fs::exists(chapter / "scenes")) {
            continue;
        }
        for (const fs::directory_entry& scene : fs::directory_iterator(chapter / "scenes")) {
            vessxml::Document document = vessxml::open(scene.path().string());
            checkElement(document.operator->(), texts, scene.path().string(), silent);
            ++scenes;
        }
    }
    EXPECT_GT(scenes, 50);
    EXPECT_TRUE(silent.empty()) << silent.size() << " silent or misplaced lines, the first: " << silent.front();
}
