// Configuration text: parsed into parameters, every plain key set again (applying its dependent
// sections), and the user keys written to a user file, which reads back to the same entries.

#include "FuzzInput.h"
#include "engine/session/Session.h"

#include "vessot/Exception.h"
#include "vessot/File.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

// A key and value that a "key: value" line of the user file carries unchanged: keys that look like
// comments or sections, or hold ": ", and values ending in a line-end character read back otherwise.
bool writesBackUnchanged(const String& key, const String& value) {
    return !key.startsWith("#") && !key.startsWith("[") && !key.contains(": ") && !key.contains("\r") &&
           !value.endsWith("\r");
}

// The user file of this process, removed at exit.
const String& userFile() {
    static struct Path {
        String path = "/tmp/fuzz_config_" + String((int)getpid()) + ".cfg";
        ~Path() { vessot::File::remove(path); }
    } file;
    return file.path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!acceptFuzzInput(size)) {
        return 0;
    }
    Session::parseConfigText(Session::params, String(reinterpret_cast<const char*>(data), size));
    ParamMap plain;
    for (const auto& [key, value] : Session::params) {
        if (!key.contains("/") && !key.contains(".")) {
            plain[key] = value;
        }
    }
    int limit = 64;
    for (const auto& [key, value] : plain) {
        if (--limit < 0) {
            break;
        }
        Session::setParam(key, value);
    }
    ParamMap values = Session::params;
    Session::saveUserConfig(values, userFile());
    ParamMap written;
    for (const auto& [key, marker] : values) {
        if (key.startsWith("cfg.")) {
            String userKey = key.substr(4);
            written[userKey] = values.count(userKey) ? values.at(userKey) : String();
        }
    }
    for (const auto& [key, value] : written) {
        if (!writesBackUnchanged(key, value)) {
            return 0; // one such line may also read as another key
        }
    }
    ParamMap back;
    Session::readConfigFile(back, userFile(), false);
    if (back != written) {
        std::abort();
    }
    return 0;
}
