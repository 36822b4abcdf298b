// The German texts beside the English ones, for the interface and every chapter: each English table
// has a German one with the same keys, each German text keeps its English text's marks (speakers,
// pauses, "%s" fields, the renderer's tags and line breaks) in the same order, the chapter's
// definitions read the German table, and the fonts the game draws German with have every character.
#include "nimbo/Utf8.h"
#include "runel/FontBitmap.h"
#include "runel/FontTtf.h"

#include "vessxml/Xml.h"

#include <array>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>

namespace {

namespace fs = std::filesystem;

using Table = std::map<std::string, std::string>;

// A table's texts by key; a key given twice is reported, since only its last text ever shows.
Table readTable(const fs::path& file, std::vector<std::string>& faults) {
    Table table;
    vessxml::Document document = vessxml::open(file.string());
    for (vessxml::Node* text : document->children()) {
        std::string key = text->pstr("key");
        if (!table.emplace(key, text->getText()).second) {
            faults.push_back(file.string() + ": the key " + key + " is given twice");
        }
    }
    return table;
}

// The marks of a text in their order: "{ speaker }", "<pN>", "%s", "[b]", "[f:..]", "[/f]", "[c:..]",
// "[/c]", "$variable" and line breaks (written or as backslash and n).
std::vector<std::string> marks(const std::string& text) {
    static const std::regex mark(R"(\{[^}]*\}|<p[^>]*>|%[a-z]|\[(?:b|/f|/c|f:[^\]]*|c[:=][^\]]*)\]|\$\w+|\\n|\n)");
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), mark); it != std::sregex_iterator(); ++it) {
        found.push_back(it->str());
    }
    return found;
}

std::string joined(const std::vector<std::string>& parts) {
    std::string all;
    for (const std::string& part : parts) {
        all += (all.empty() ? "" : " ") + part;
    }
    return "(" + all + ")";
}

// Where the data names a text key: an element (of that action type, when given) and its attribute,
// whose value follows the prefix ("ui." keys are the interface's, others the file's own folder's).
const std::array<const char*, 4> KEY_USES[] = {
    {"Action", "", "rollover", ""},          {"Action", "Say", "key", ""}, {"Action", "AddItem", "item", "ui.obj_"},
    {"Action", "", "itemaction", "ui.obj_"}, {"Dialog", "", "text", ""},   {"Reply", "", "text", ""},
    {"Object", "", "text_key", ""},
};
// The same in commands: "say KEY", "add_item ITEM".
const std::pair<std::regex, const char*> COMMAND_KEY_USES[] = {{std::regex(R"((?:^|;) *say (\w+))"), ""},
                                                               {std::regex(R"((?:^|;) *add_item (\w+))"), "ui.obj_"}};

// Whether every dataset definition of the folder that reads the English table also reads the German
// one over it.
bool definitionsReadGerman(const fs::path& folder) {
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".datadef") {
            continue;
        }
        vessxml::Document document = vessxml::open(entry.path().string());
        bool english = false, german = false;
        for (vessxml::Node* node : document->children()) {
            if (*node == "Texts") {
                english |= node->pstr("lang", "") == "" && node->pstr("file") == "texts/en.xml";
                german |= node->pstr("lang", "") == "de" && node->pstr("file") == "texts/de.xml";
            }
        }
        if (english && !german) {
            return false;
        }
    }
    return true;
}

// The bitmap font's own glyphs, without its "?" stand-in.
struct BitmapProbe : runel::FontBitmap {
    using runel::FontBitmap::findGlyph;
    using runel::FontBitmap::FontBitmap;
};

class TranslationData : public ::testing::Test {
protected:
    void SetUp() override {
        folders.push_back("data/ui");
        for (const fs::directory_entry& entry : fs::directory_iterator("data/chapters")) {
            if (fs::exists(entry.path() / "texts" / "en.xml")) {
                folders.push_back(entry.path());
            }
        }
        std::sort(folders.begin(), folders.end());
    }
    std::vector<fs::path> folders;
};

} // namespace

TEST_F(TranslationData, EveryEnglishTextHasAGermanOneWithTheSameMarks) {
    std::vector<std::string> faults;
    size_t keys = 0;
    for (const fs::path& folder : folders) {
        fs::path english = folder / "texts" / "en.xml", german = folder / "texts" / "de.xml";
        if (!fs::exists(german)) {
            faults.push_back(german.string() + " is missing");
            continue;
        }
        if (!definitionsReadGerman(folder)) {
            faults.push_back(folder.string() + ": a dataset definition reads texts/en.xml but not texts/de.xml");
        }
        Table en = readTable(english, faults), de = readTable(german, faults);
        keys += en.size();
        for (const auto& [key, text] : en) {
            auto it = de.find(key);
            if (it == de.end()) {
                faults.push_back(german.string() + ": no text for " + key);
            } else if (marks(text) != marks(it->second)) {
                faults.push_back(german.string() + ": " + key + " has the marks " + joined(marks(it->second)) +
                                 ", the English text " + joined(marks(text)));
            }
        }
        for (const auto& entry : de) {
            if (!en.count(entry.first)) {
                faults.push_back(german.string() + ": " + entry.first + " has no English text");
            }
        }
    }
    EXPECT_GT(keys, 700u);
    EXPECT_TRUE(faults.empty()) << faults.size() << " faults, the first: " << faults.front();
}

// Every text key the data names exists in English and German (a spoken line's or a speaker's
// variant of it), and so does the save cards' chapter name of every chapter the player saves in.
TEST_F(TranslationData, EveryTextKeyTheDataNamesHasAnEnglishAndAGermanText) {
    std::vector<std::string> faults;
    std::map<std::string, Table> tables; // by folder name and language
    for (const fs::path& folder : folders) {
        for (std::string language : {"en", "de"}) {
            tables[folder.filename().string() + language] = readTable(folder / "texts" / (language + ".xml"), faults);
        }
    }
    std::string missing;
    int uses = 0;
    auto check = [&](std::string folder, const std::string& file, std::string key) {
        ++uses;
        if (size_t dot = key.find('.'); dot != std::string::npos && tables.count(key.substr(0, dot) + "en")) {
            folder = key.substr(0, dot);
            key = key.substr(dot + 1);
        }
        for (const char* language : {"en", "de"}) {
            const Table& table = tables[folder + language];
            if (!table.count(key) && !table.count(key + "-vorne") && !table.count(key + "-luna") &&
                !table.count(key + "-danny")) {
                missing += file + ": " + folder + " " + key + " (" + language + ")\n";
            }
        }
    };
    std::function<void(vessxml::Node*, const std::string&, const std::string&)> visit = [&](vessxml::Node* node,
                                                                                            const std::string& folder,
                                                                                            const std::string& file) {
        for (const auto& [element, type, attribute, prefix] : KEY_USES) {
            std::string value = node->pstr(attribute, "");
            if (*node == element && (!*type || node->pstr("type", "") == type) && value != "" && value != "noitem") {
                check(folder, file, prefix + value);
            }
        }
        std::string commands = node->pstr("cmd", "");
        for (const auto& [command, prefix] : COMMAND_KEY_USES) {
            for (std::sregex_iterator it(commands.begin(), commands.end(), command), end; it != end; ++it) {
                check(folder, file, prefix + (*it)[1].str());
            }
        }
        for (vessxml::Node* child : node->children()) {
            visit(child, folder, file);
        }
    };
    for (const fs::path& folder : folders) {
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
            if (std::set<fs::path>{".scene", ".dlg", ".datadef"}.count(entry.path().extension())) {
                visit(vessxml::open(entry.path().string()).operator->(), folder.filename(), entry.path());
            }
        }
        if (folder.parent_path() == "data/chapters" && folder.filename() != "menu") {
            check("ui", "save cards", "CHAPTER_" + folder.filename().string());
        }
    }
    // The hint book's tasks: the variables named "hint_...", titled by their key + "_00".
    vessxml::Document variables = vessxml::open("data/vars.xml");
    for (vessxml::Node* variable : variables->children()) {
        if (variable->pstr("name", "").startsWith("hint_")) {
            check("ui", "data/vars.xml", variable->pstr("name").uppered() + "_00");
        }
    }
    EXPECT_GT(uses, 800);
    EXPECT_TRUE(faults.empty()) << faults.front();
    EXPECT_EQ(missing, "");
}

TEST_F(TranslationData, TheGameFontsDrawEveryCharacterOfTheGermanTexts) {
    // The German letters and punctuation, whether the texts use them yet or not.
    std::set<uint32_t> used{0xC4, 0xD6, 0xDC, 0xE4, 0xF6, 0xFC, 0xDF, 0x201E, 0x201C, 0x201A, 0x2018, 0x2013, 0x2026};
    std::vector<std::string> faults;
    for (const fs::path& folder : folders) {
        for (const auto& entry : readTable(folder / "texts" / "de.xml", faults)) {
            const std::string& text = entry.second;
            for (size_t at = 0; at < text.size();) {
                used.insert(nimbo::nextCodePoint(text, at));
            }
        }
    }
    runelttf::init();
    {
        // With a language chosen the game draws its labels and subtitles with the bitmap font; the
        // replies of conversations, and English on large windows, with the TrueType fonts.
        BitmapProbe bitmap("data/ui/fonts/radodid.font");
        runelttf::FontTtf radodid("data/ui/fonts/radodid.ttf", "radodid", 20);
        runelttf::FontTtf hheaven("data/ui/fonts/hheaven.ttf", "hheaven", 24);
        for (uint32_t c : used) {
            if (c == '\n') {
                continue;
            }
            EXPECT_TRUE(bitmap.findGlyph(c)) << "U+" << std::hex << c << " in radodid.font";
            EXPECT_TRUE(radodid.hasCodePoint(c)) << "U+" << std::hex << c << " in radodid.ttf";
            EXPECT_TRUE(hheaven.hasCodePoint(c)) << "U+" << std::hex << c << " in hheaven.ttf";
        }
    }
    runelttf::destroy();
    EXPECT_TRUE(faults.empty()) << faults.front();
}
