// Configuration text: parsed into parameters, every plain key set again (applying its dependent
// sections), and the user keys written to a user file, which reads back to the same entries.

#include "Session.h"

#include "vessot/Exception.h"
#include "vessot/File.h"
#include "vessot/Log.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

// A key and value that a "key: value" line of the user file carries unchanged.
bool writesBackUnchanged(const String& key, const String& value) {
    return !key.startsWith("#") && !key.startsWith("[") && !key.contains(": ") && !key.contains("\r") &&
           !value.endsWith("\r");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static String userFile = "/tmp/fuzz_config_" + String((int)getpid()) + ".cfg";
    static bool ready = (vessot::Log::setEcho(false), vessot::Log::setFilename("/dev/null", false), true);
    (void)ready;
    if (size > 4096) {
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
    Session::saveUserConfig(values, userFile);
    ParamMap back;
    Session::readConfigFile(back, userFile, false);
    for (const auto& [key, marker] : values) {
        if (!key.startsWith("cfg.")) {
            continue;
        }
        String userKey = key.substr(4);
        String expected = values.count(userKey) ? values.at(userKey) : String();
        if (writesBackUnchanged(userKey, expected) && (!back.count(userKey) || back.at(userKey) != expected)) {
            std::abort();
        }
    }
    return 0;
}
