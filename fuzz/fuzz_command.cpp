// Command strings, run at once and, line by line, through the queue, without an active scene: every
// verb acts, logs, or throws one of the engine's exceptions, and the drain ends within its cap.

#include "FuzzInput.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/Inventory.h"

#include "vessot/Exception.h"

#include <cstddef>
#include <cstdint>

namespace {

void resetStore() {
    Vars::variables = VariableTable();
    const char* const values[][2] = {{"a", ""}, {"count", "3"}, {"items", ""}, {"note", "x"}};
    for (const auto& [name, value] : values) {
        Variable* variable = Vars::getOrCreate(name);
        variable->name = name;
        variable->value = value;
    }
    Vars::get("items")->addListener(Inventory::onItemsChanged);
    Inventory::items.clear();
    Inventory::selectedItem = "";
    Session::commandQueue.clear();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!acceptFuzzInput(size)) {
        return 0;
    }
    resetStore();
    String commands(reinterpret_cast<const char*>(data), size);
    try {
        Session::executeCommand(commands);
    } catch (const vessot::exception&) {
    }
    for (const String& command : commands.split("\n")) {
        Session::queueCommand(command);
    }
    try {
        Session::drainCommandQueue();
    } catch (const vessot::exception&) {
    }
    return 0;
}
