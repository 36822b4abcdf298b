// "tutorial_arrow" values: every value is read entry by entry into the arrows whose conditions hold
// (short entries skipped, numbers that do not parse read 0), and each arrow gets its 14 x 28
// picture; only the condition evaluator's refusals (bad syntax, an unknown variable) may leave.

#include "FuzzInput.h"
#include "engine/session/Evaluator.h"
#include "engine/session/Vars.h"
#include "ui/Hud.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void setUp() {
    const char* const values[][2] = {
        {"smart_hint_button_visible", "0"}, {"inv_item_in_selection", "0"}, {"tutorial_state", "41"}};
    for (const auto& [name, value] : values) {
        Variable* variable = Vars::getOrCreate(name);
        variable->name = name;
        variable->value = value;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = (setUp(), true);
    (void)ready;
    if (!acceptFuzzInput(size)) {
        return 0;
    }
    String value(reinterpret_cast<const char*>(data), size);
    try {
        for (const Hud::TutorialArrow& arrow : Hud::parseTutorialArrows(value)) {
            Hud::Sprite sprite = Hud::tutorialArrowSprite(arrow, 1.5f);
            if (sprite.rect.w != 14.0f || sprite.rect.h != 28.0f) {
                std::abort();
            }
        }
    } catch (const _ScriptException&) {
    } catch (const _UnknownVariableException&) {
    }
    return 0;
}
