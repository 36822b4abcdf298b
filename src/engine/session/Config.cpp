#include "engine/session/Session.h"

#include "engine/session/zephUtil.h"

#include "vessot/File.h"
#include "vessot/Log.h"

namespace Session {

ParamMap params;

namespace {

// The dependent key of a conditional entry "param/value.key" when value is the current one. Values
// may hold dots ("[text_multiplier/1.5]"), so the key is all that follows "param/value." and must
// hold none: "text_multiplier/1.5.speed" belongs to the value "1.5", never to "1".
bool dependentKey(const String& entryKey, const String& param, const String& value, String& key) {
    if (value.empty()) {
        return false;
    }
    String prefix = param + "/" + value + ".";
    if (!entryKey.startsWith(prefix)) {
        return false;
    }
    key = entryKey.substr(prefix.size());
    return !key.empty() && !key.contains(".");
}

} // namespace

String getParam(const String& key) {
    return params[key];
}

void setParam(const String& key, const String& value) {
    log("setting param '" + key + "' : " + value);
    params[key] = value;
    ParamMap dependents;
    for (const auto& [entryKey, entryValue] : params) {
        String dependent;
        if (dependentKey(entryKey, key, value, dependent)) {
            dependents[entryKey] = dependent;
        }
    }
    for (const auto& [entryKey, dependent] : dependents) {
        String entryValue = params[entryKey];
        params[dependent] = entryValue;
        log("- setting dependancy param '" + dependent + "': " + entryValue);
    }
}

void parseConfigText(ParamMap& map, const String& text) {
    map.clear();
    String prefix;
    for (const String& rawLine : text.split("\n")) {
        String line = rawLine;
        if (line.endsWith("\r")) {
            line.pop_back();
        }
        if (line.startsWith("[") && line.endsWith("]")) {
            prefix = line == "[]" ? String() : line.replaced("[", "").replaced("]", "") + ".";
            continue;
        }
        if (line.startsWith("#")) {
            continue;
        }
        String key;
        String value;
        if (line.split(": ", key, value)) {
            map[prefix + key] = value;
        }
    }
}

void readConfigFile(ParamMap& map, const String& path, bool fromResources) {
    parseConfigText(map, fromResources ? vessot::Resource::hread(path) : vessot::File::hread(path));
}

void saveUserConfig(const ParamMap& map, const String& path) {
    String text;
    for (const auto& [key, marker] : params) {
        if (!key.startsWith("cfg.")) {
            continue;
        }
        String userKey = key.substr(4);
        auto found = map.find(userKey);
        text += userKey + ": " + (found == map.end() ? String() : found->second) + "\n";
    }
    vessot::writeFileAtomically(path, text);
}

void loadConfig() {
    readConfigFile(params, "cfg/zeph.cfg", true);
    ParamMap overrides;
    for (const auto& [entryKey, value] : params) {
        String param;
        String rest;
        if (!entryKey.split("/", param, rest)) {
            continue;
        }
        String dependent;
        // Read with insertion, as every parameter read is; the new key holds no "/" and is skipped.
        if (dependentKey(entryKey, param, params[param], dependent)) {
            overrides[dependent] = value;
        }
    }
    for (const auto& [key, value] : overrides) {
        params[key] = value;
    }
    String folder = zephUtil::getUserDataPath();
    vessot::Log::setFilename(folder + "game.log", true);
    String userFile = folder + "zeph.cfg";
    if (!vessot::File::exists(userFile)) {
        saveUserConfig(params, userFile);
        return;
    }
    ParamMap user;
    readConfigFile(user, userFile, false);
    for (const auto& [key, value] : user) {
        params[key] = value;
    }
}

} // namespace Session
