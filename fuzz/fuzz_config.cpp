// Configuration text: parsed into parameters, every plain key set again (applying and reverting the
// sections of its values), and the user keys' text, which reads back to the same keys, and to the
// same values wherever no section could have set them. All in memory, so thousands of inputs run a
// second; the file round trip has its unit test.

#include "FuzzInput.h"
#include "engine/session/Session.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>

namespace {

// A key and value that a "key: value" line of the user file carries unchanged: keys that look like
// comments or sections, or hold ": ", and values ending in a line-end character read back otherwise.
bool writesBackUnchanged(const String& key, const String& value) {
    return !key.startsWith("#") && !key.startsWith("[") && !key.contains(": ") && !key.contains("\r") &&
           !key.contains("\n") && !value.endsWith("\r") && !value.contains("\n");
}

// Every key that some conditional entry "param/value.key" could set: each part after a "." that
// follows the "/".
std::set<String> sectionTargets() {
    std::set<String> keys;
    for (const auto& [entryKey, value] : Session::params) {
        size_t slash = entryKey.find('/');
        for (size_t dot = entryKey.find('.', slash); slash != String::npos && dot != String::npos;
             dot = entryKey.find('.', dot + 1)) {
            keys.insert(entryKey.substr(dot + 1));
        }
    }
    return keys;
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
    String text = Session::userConfigText(values);
    std::set<String> sectioned = sectionTargets();
    ParamMap written;
    for (const auto& [key, marker] : values) {
        if (key.startsWith("cfg.")) {
            String userKey = key.substr(4);
            written[userKey] = values.count(userKey) ? values.at(userKey) : String();
            if (!writesBackUnchanged(userKey, written[userKey])) {
                return 0; // one such line may also read as another key
            }
        }
    }
    ParamMap back;
    Session::parseConfigText(back, text);
    if (back.size() != written.size()) {
        std::abort();
    }
    for (const auto& [key, value] : written) {
        if (!back.count(key) || (!sectioned.count(key) && back.at(key) != value)) {
            std::abort();
        }
    }
    return 0;
}
