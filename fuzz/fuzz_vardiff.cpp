// Variable difference files: any bytes load over the start-up state (lines without ": " are
// skipped), the store then writes a text that loads back to the same values, and a value holding
// line breaks never adds a variable. All in memory, so thousands of inputs run a second; the file
// round trip has its unit test.

#include "FuzzInput.h"
#include "engine/session/Vars.h"

#include "vessot/Exception.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void resetStore() {
    Vars::variables = VariableTable();
    const char* const values[][2] = {{"active_scene", "ship.Cockpit"}, {"items", ""}, {"note", "a: b"}};
    for (const auto& [name, value] : values) {
        Variable* variable = Vars::getOrCreate(name);
        variable->name = name;
        variable->value = value;
        variable->initialValue = value;
    }
}

std::map<String, String> values() {
    std::map<String, String> all;
    for (const auto& [key, variable] : Vars::variables.variables) {
        all[key] = variable.value;
    }
    return all;
}

// The store after its diff text is loaded back.
std::map<String, String> roundTrip() {
    String text = Vars::variables.diffText();
    Vars::variables.loadDiffText(text, "fuzz.sav");
    return values();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!acceptFuzzInput(size)) {
        return 0;
    }
    String input(reinterpret_cast<const char*>(data), size);
    resetStore();
    try {
        Vars::variables.loadDiffText(input, "fuzz.sav");
    } catch (const vessot::exception&) {
        std::abort(); // every line either loads or is skipped
    }
    std::map<String, String> loaded = values();
    // A value that ends in "\r" loses it on reading, as a line ending; those are not compared.
    bool comparable = true;
    for (const auto& [key, value] : loaded) {
        comparable = comparable && !value.endsWith("\r");
    }
    if (comparable && roundTrip() != loaded) {
        std::abort();
    }
    // The whole input as one value: its line breaks become blanks, and no variable is added.
    resetStore();
    Vars::set("note", input);
    std::map<String, String> back = roundTrip();
    if (back.size() != 3 || back["note"].contains("\n")) {
        std::abort();
    }
    return 0;
}
