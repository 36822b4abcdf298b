// Typed player names: the input's code points go to the profile manager's name box as key presses
// (Enter aside), and what the box holds becomes two profiles, the first in the user folder and the
// second in "_profile2". Each name file must give the name back unchanged (leading blanks are not
// part of a name), and the name must show in the slot labels, the delete question, the main menu's
// caption and the name box itself without an exception, laid out as they are drawn.

#include "FuzzInput.h"
#include "engine/scene/Chapter.h"
#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/session/zephUtil.h"
#include "ui/Menu.h"

#include "nimbo/Utf8.h"
#include "nimboui/EditBox.h"
#include "nimboui/TextButton.h"
#include "nimboui/TextKey.h"
#include "runel/Renderer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <unordered_map>

namespace {

const char* const MENU_DEFINITION = R"(<Dataset>
    <Texts file="texts.xml"/>
    <Object type="EditBox" name="pm_player_name" w="186" h="22" font="radodid:0.6" align="0"/>
    <Object type="TextButton" name="pm_add" w="95" h="24" font="radodid:0.6"/>
    <Object type="TextButton" name="pm_delete" w="95" h="24" font="radodid:0.6"/>
    <Object type="TextButton" name="pm_close" w="95" h="24" font="radodid:0.6"/>
    <Object type="TextButton" name="pm_slot01" w="200" h="22" font="radodid:0.6" align="1"/>
    <Object type="TextButton" name="pm_slot02" w="200" h="22" font="radodid:0.6" align="1"/>
    <Object type="TextButton" name="pm_slot03" w="200" h="22" font="radodid:0.6" align="1"/>
    <Object type="TextButton" name="pm_slot04" w="200" h="22" font="radodid:0.6" align="1"/>
    <Object type="TextButton" name="pm_slot05" w="200" h="22" font="radodid:0.6" align="1"/>
</Dataset>
)";
const char* const MENU_TEXTS = R"(<Texts>
    <Text key="PM_EMPTY_SLOT">- empty -</Text>
    <Text key="PM_DELETE_QUESTION">Delete the profile [c:FF7F00]%s[/c] with all its saves?</Text>
</Texts>
)";
const char* const UI_DEFINITION = R"(<Dataset>
    <Texts file="texts.xml"/>
    <Object type="Label" name="cdialog_text" w="232" h="78" font="radodid:0.5" align="7"/>
</Dataset>
)";
const char* const UI_TEXTS = R"(<Texts>
    <Text key="PROFILE_FORMAT_STRING">Profile: [f:radodid:0.8]%s[/f]</Text>
</Texts>
)";

// Every character 10 pixels wide, without pictures: enough to lay text out.
class LayoutFont : public runel::Font {
public:
    LayoutFont() {
        name = "radodid";
        lineHeight = 20;
        ascent = 16;
    }
    nimbo::Texture* getPageTexture(int) override { return nullptr; }
    morvec::Vector2 getPageSize(int) const override { return {64, 64}; }

protected:
    const runel::Glyph* findGlyph(uint32_t codePoint) override {
        runel::Glyph& glyph = glyphs[codePoint];
        glyph.advance = 10;
        return &glyph;
    }

private:
    std::unordered_map<uint32_t, runel::Glyph> glyphs;
};

std::filesystem::path folder;

Chapter* makeChapter(const std::string& name, const char* definition, const char* texts) {
    std::filesystem::create_directories(folder / name);
    std::ofstream(folder / name / "chapter.datadef") << definition;
    std::ofstream(folder / name / "texts.xml") << texts;
    auto* chapter = new Chapter((folder / name / "chapter.datadef").string(), nullptr);
    chapter->load();
    return chapter;
}

void setUp() {
    folder = std::filesystem::temp_directory_path() / ("fuzz_player_name_" + std::to_string(getpid()));
    setenv("ZEPH_USER_DIR", (folder / "user").c_str(), 1);
    runel::init();
    runel::renderer->registerFont(new LayoutFont(), true);
    runel::renderer->setDefaultFont("radodid");
    runel::renderer->setUseLegacyLineBreakParsing(true);
    Chapter* menu = makeChapter("menu", MENU_DEFINITION, MENU_TEXTS);
    uiChapter = makeChapter("ui", UI_DEFINITION, UI_TEXTS);
    auto* manager = new Menu::ProfileManager(menu, "ProfileManager");
    menu->registerScene("ProfileManager", manager);
    Session::activeScene = manager;
    for (const char* name : {"cdialog", "active_scene", "prev_scene"}) {
        Vars::getOrCreate(name)->name = name;
    }
    Vars::set("active_scene", "menu.ProfileManager");
}

// Lays the text out as a label of that font draws it; a failure here is a crash of the draw.
void layOut(const String& font, const String& text, bool markup = true) {
    runel::renderer->getLayout(font, text, runel::CENTER_WRAPPED, 200, markup);
}

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The input's code points typed into the name box, as the player's keys would.
String typeName(const uint8_t* data, size_t size) {
    auto* box = Menu::objectOf<nimboui::EditBox>("pm_player_name");
    box->setText("");
    box->setFocus(true);
    std::string_view input(reinterpret_cast<const char*>(data), size);
    for (size_t at = 0; at < input.size();) {
        uint32_t code = nimbo::nextCodePoint(input, at);
        if (code != 13) {
            box->OnChar(code);
        }
    }
    return box->getText();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!acceptFuzzInput(size)) {
        return 0;
    }
    static bool ready = (setUp(), true);
    (void)ready;
    String user = zephUtil::getUserDataPath();
    std::filesystem::remove_all(folder / "user");
    std::filesystem::create_directories(folder / "user");
    Session::params["profile"] = "";

    String typed = typeName(data, size);
    layOut("radodid:0.6", typed + "_", false);
    String name = typed.substr(std::min(typed.find_first_not_of(" \t"), typed.size()));
    for (const char* file : {"username.txt", "_profile2/username.txt"}) {
        Menu::objectOf<nimboui::EditBox>("pm_player_name")->setText(typed);
        Menu::createProfile("pm_player_name");
        require(GameUtil::readTextFile(user + file) == name);
    }
    require(Session::params["profile"] == "/_profile2");

    Session::activeScene->onEnter();
    for (const char* slot : {"pm_slot01", "pm_slot02"}) {
        auto* label = Menu::objectOf<nimboui::TextButton>(slot);
        require(label->getText() == GameUtil::withoutTagBrackets(name));
        layOut(label->getFont(), label->getDisplayedText());
    }
    nimboui::EventArgs click(Menu::objectOf("pm_delete"), 0, 0, "");
    Menu::ProfileManager::onDelete(&click);
    auto* question = static_cast<nimboui::Label*>(uiChapter->getObject("cdialog_text"));
    layOut(question->getFont(), question->getDisplayedText());
    layOut("radodid:0.5", nimboui::expandTextKey(
                              Menu::nameTextKey("ui.PROFILE_FORMAT_STRING", Menu::currentProfileName()), uiChapter));
    return 0;
}
