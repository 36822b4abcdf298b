// Requests written to "cdialog" over a small "ui" chapter: each line of the input is written over
// the one before, the box is answered yes, the lines are written again and it is answered no; an
// achievement's OK button is clicked whenever it is wired, and the labels' texts are expanded. The
// engine's exceptions (a named action that does not exist, a text key naming a missing variable)
// may leave an answer or an expansion; nothing else may go wrong.

#include "FuzzInput.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/Actions.h"
#include "ui/Cdialog.h"

#include "nimboui/Label.h"
#include "vessot/Exception.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

const char* const UI_DEFINITION = R"(<Dataset>
    <Texts file="texts.xml"/>
    <Object type="Object" name="ui" w="426" h="320">
        <Object type="ImageButton" name="hint_button" x="869" y="283" w="35" h="35">
            <Animator type="Mover" name="hint_button_mover"/>
        </Object>
        <Object type="ImageButton" name="inv_button" x="482" y="283" w="35" h="35">
            <Animator type="Mover" name="inv_button_mover"/>
        </Object>
        <Object type="ImageButton" name="diary_button" x="519" y="283" w="35" h="35">
            <Animator type="Mover" name="diary_button_mover"/>
        </Object>
        <Object type="ImageButton" name="ingame_menu_button" x="482" y="2" w="35" h="35">
            <Animator type="Mover" name="ingame_menu_button_mover"/>
        </Object>
        <Object type="ImageButton" name="character_button" x="869" y="2" w="35" h="35">
            <Animator type="Mover" name="character_button_mover"/>
        </Object>
        <Object type="ImageBox" name="cdialog_click_blocker" x="-330" y="-10" w="1086" h="340" alpha="0">
            <Animator type="AlphaFader" name="cdialog_click_blocker_fader"/>
        </Object>
        <Object type="ImageBox" name="cdialog" x="83" y="80" w="260" h="160" alpha="0">
            <Animator type="AlphaFader" name="cdialog_fader"/>
            <Object type="Object" name="cdialog_text_container" w="260" h="160">
                <Object type="Label" name="cdialog_text" w="232" h="78"/>
                <Object type="ImageButton" name="cdialog_yes_button" w="36" h="36"/>
                <Object type="ImageButton" name="cdialog_no_button" w="36" h="36"/>
            </Object>
            <Object type="Object" name="cdialog_achievement_container" w="260" h="160" visible="0">
                <Object type="ImageBox" name="cdialog_ach_img" w="64" h="64"/>
                <Object type="Label" name="cdialog_ach_text" w="158" h="78"/>
                <Object type="ImageBox" name="cdialog_fb_overlay" w="64" h="64" visible="0"/>
                <Object type="ImageButton" name="cdialog_ach_ok_button" w="36" h="36"/>
                <Object type="ImageButton" name="cdialog_ach_post_button" w="36" h="36" visible="0"/>
            </Object>
        </Object>
    </Object>
</Dataset>
)";

const char* const UI_TEXTS = R"(<Texts>
    <Text key="Q">Really?</Text>
    <Text key="achievement_title_map">Cartographer</Text>
    <Text key="achievement_unlocked_desc_map">The map shows the way.</Text>
</Texts>
)";

// The "ui" chapter (its folder names it) with an active scene and the named actions "yes" and "no".
void loadChapter() {
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("fuzz_cdialog_" + std::to_string(getpid())) / "ui";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "ui.datadef") << UI_DEFINITION;
    std::ofstream(folder / "texts.xml") << UI_TEXTS;
    uiChapter = new Chapter((folder / "ui.datadef").string(), nullptr);
    uiChapter->load();
    Scene* scene = new Scene(uiChapter, "Box");
    uiChapter->registerScene("Box", scene);
    uiChapter->registerNamedAction("yes", new Actions::Execute("log yes"));
    uiChapter->registerNamedAction("no", new Actions::Execute("log no"));
    Session::activeScene = scene;
}

void resetStores() {
    Vars::variables = VariableTable();
    Variable* request = Vars::getOrCreate("cdialog");
    request->name = "cdialog";
    request->addListener(Cdialog::onVarChanged);
    Vars::snapshot = Vars::variables;
}

void write(const String& lines) {
    for (const String& line : lines.split("\n")) {
        Vars::get("cdialog")->setValue(line, false);
        // A text key may name a variable ("$name") that the store lacks: the engine's exception.
        for (const char* label : {"cdialog_text", "cdialog_ach_text"}) {
            try {
                static_cast<nimboui::Label*>(uiChapter->getObject(label))->getDisplayedText();
            } catch (const vessot::exception&) {
            }
        }
        uiChapter->getObject("cdialog_ach_ok_button")->triggerEvent("Click", 0, 0, "");
    }
}

void answer(int choice) {
    try {
        Cdialog::answer(choice);
    } catch (const vessot::exception&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!acceptFuzzInput(size)) {
        return 0;
    }
    static bool loaded = (loadChapter(), true);
    (void)loaded;
    resetStores();
    String text(reinterpret_cast<const char*>(data), size);
    write(text);
    answer(1);
    write(text);
    answer(2);
    return 0;
}
