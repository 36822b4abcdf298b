// Variable difference files: any bytes load over the start-up state (lines without ": " are
// skipped), and the store then saves a file that loads back to the same values.

#include "FuzzInput.h"
#include "engine/session/Vars.h"

#include "vessot/Exception.h"
#include "vessot/File.h"
#include "vessot/Log.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

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

// The files of this process, removed at exit.
const String& base() {
    static struct Base {
        String path = "/tmp/fuzz_vardiff_" + String((int)getpid());
        ~Base() {
            vessot::File::remove(path + ".in");
            vessot::File::remove(path + ".sav");
        }
    } files;
    return files.path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!acceptFuzzInput(size)) {
        return 0;
    }
    vessot::writeFileAtomically(base() + ".in", String(reinterpret_cast<const char*>(data), size));
    resetStore();
    try {
        Vars::loadDiff(base() + ".in");
    } catch (const vessot::exception&) {
        std::abort(); // every line either loads or is skipped
    }
    std::map<String, String> loaded = values();
    // A value that ends in "\r" loses it on reading, as a line ending; those are not compared.
    for (const auto& [key, value] : loaded) {
        if (value.endsWith("\r")) {
            return 0;
        }
    }
    Vars::saveDiff(base() + ".sav");
    Vars::loadDiff(base() + ".sav");
    if (values() != loaded) {
        std::abort();
    }
    return 0;
}
