// Hint strings, each line of the input one, shown as the hint button shows them over a small "ui"
// chapter and a scene with four areas (an exit, an "|x" area, a plain one and one whose key names no
// cursor): any text gives true or false and nothing else leaves; a shown one places the marker with
// a picture or speaks a line.

#include "FuzzInput.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/Actions.h"
#include "script/Speech.h"
#include "ui/Hints.h"

#include "nimbo/Image.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

const char* const UI_DEFINITION = R"(<Dataset>
    <Texture name="t" file="t.png"/>
    <Image name="gui/cursor" texture="t" w="4" h="4"/>
    <Image name="gui/cursor2" texture="t" w="4" h="4"/>
    <Image name="gui/cursor_look" texture="t" w="4" h="4"/>
    <Image name="gui/look_up" texture="t" w="4" h="4"/>
    <Image name="gui/arrow_l" texture="t" w="4" h="4"/>
    <Image name="items/wire" texture="t" w="4" h="4"/>
    <Texts file="texts.xml"/>
    <Object type="Object" name="ui" w="426" h="320"/>
</Dataset>
)";

const char* const UI_TEXTS = R"(<Texts>
    <Text key="INV_USE_BUTTON_EX">Use the %s.</Text>
    <Text key="INV_LOOK_BUTTON_EX">Look at %s %s %d.</Text>
    <Text key="ZEPH_COMBINE_A_WITH_B">%s and %s</Text>
    <Text key="obj_wire">wire</Text>
</Texts>
)";

Action* withKey(Action* action, const char* key) {
    action->setRolloverKey(key);
    return action;
}

void setUp() {
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("fuzz_hint_" + std::to_string(getpid())) / "ui";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "ui.datadef") << UI_DEFINITION;
    std::ofstream(folder / "texts.xml") << UI_TEXTS;
    nimbo::Image(4, 4).savePng((folder / "t.png").string());
    uiChapter = new Chapter((folder / "ui.datadef").string(), nullptr);
    uiChapter->load();
    Scene* scene = new Scene(uiChapter, "Room");
    uiChapter->registerScene("Room", scene);
    scene->actions[0x0000FF] = withKey(new Actions::Execute("log exit"), "RO_EXIT|l");
    scene->actions[0x00FF00] = withKey(new Actions::Execute("log any"), "RO_ANY|x");
    scene->actions[0xFF0000] = withKey(new Actions::Execute("log plain"), "RO_PLAIN");
    scene->actions[0x123456] = withKey(new Actions::Execute("log odd"), "RO|odd|r");
    Session::activeScene = scene;
    for (const char* name : {"_hint_timer", "current_character", "active_scene"}) {
        Variable* variable = Vars::getOrCreate(name);
        variable->name = name;
    }
    Vars::get("current_character")->value = "vorne";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!acceptFuzzInput(size)) {
        return 0;
    }
    static bool ready = (setUp(), true);
    (void)ready;
    for (const String& hint : String(reinterpret_cast<const char*>(data), size).split("\n")) {
        Hints::marker = {};
        Vars::get("_hint_timer")->value = "1.0";
        if (Hints::showHintString(hint) && Hints::marker.time > 0.0f && !Hints::marker.image) {
            std::abort();
        }
        Speech::clear();
    }
    return 0;
}
