// Every line the bundled scenes speak shows as a subtitle: a "Say" action's prefix and text, and the
// text of a "say" command, must name a speaker or otherwise yield a piece with words in it. A line
// without one is timed but never drawn, so the player clicks and sees nothing.
#include "script/SayText.h"

#include "vessot/Array.h"

#include "vessxml/Xml.h"

#include <filesystem>
#include <map>

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

void checkElement(vessxml::Node* element, const Texts& texts, const String& where, std::vector<String>& silent) {
    String context = where + " " + element->describe();
    if (*element == "Action" && element->pstr("type", "") == "Say") {
        const String* text = findText(texts, element->pstr("key"));
        if (text && !showsWords(element->pstr("prefix", "") + *text)) {
            silent.push_back(context + ": " + *text);
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

} // namespace

TEST(SpokenLinesData, EveryLineTheScenesSpeakShowsAsASubtitle) {
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
    EXPECT_TRUE(silent.empty()) << silent.size() << " silent lines, the first: " << silent.front();
}
