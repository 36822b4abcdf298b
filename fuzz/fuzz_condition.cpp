// Condition expressions: every text evaluates to "1" or "0", or is refused with the evaluator's
// syntax error or the store's unknown-variable error; never anything else.

#include "FuzzInput.h"
#include "engine/session/Evaluator.h"
#include "engine/session/Vars.h"
#include "script/Inventory.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void setUp() {
    const char* const values[][2] = {{"door", "1"},    {"count", "3"},        {"empty", ""},
                                     {"name", "anna"}, {"tricky", "a or (b"}, {"float", "1.5"}};
    for (const auto& [name, value] : values) {
        Variable* variable = Vars::getOrCreate(name);
        variable->name = name;
        variable->value = value;
    }
    Inventory::items = {"key", "map"};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = (setUp(), true);
    (void)ready;
    if (!acceptFuzzInput(size)) {
        return 0;
    }
    String expression(reinterpret_cast<const char*>(data), size);
    try {
        String result = Evaluator::evaluate(expression);
        if (result != "1" && result != "0") {
            std::abort();
        }
    } catch (const _ScriptException&) {
    } catch (const _UnknownVariableException&) {
    }
    return 0;
}
