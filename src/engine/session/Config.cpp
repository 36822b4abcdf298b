#include "engine/session/Session.h"

#include "engine/session/zephUtil.h"

#include "vessot/File.h"

#include <set>

namespace Session {

ParamMap params;

namespace {

const String DEFAULT_FILE = "cfg/zeph.cfg";

// A key whose value a conditional section set: the section ("param/value"), the value it set, and
// the value the key had before (none when it had none), which it returns to when the section stops
// applying and which the user's file keeps.
struct Applied {
    String section;
    String value;
    bool hadBase = false;
    String base;
};
std::map<String, Applied> applied;

// The conditional sections ("param/value") of the files read into the parameters. A key of a section
// may hold dots and so may a value, so "text_multiplier/1.5.speed" could be the value "1" and the
// key "5.speed"; the section that was written decides.
std::set<String> sectionNames;

// Keys whose value came from the user's file and has not been set since: messages name that file.
std::set<String> fromUserFile;

// The key of a conditional entry "param/value.key" that belongs to the section of that value: all
// that follows "param/value.", unless a longer section of the same parameter ("[param/value.more]")
// owns the entry.
bool sectionKey(const String& entryKey, const String& param, const String& value, String& key) {
    if (value.empty()) {
        return false;
    }
    String prefix = param + "/" + value + ".";
    if (!entryKey.startsWith(prefix) || entryKey.size() == prefix.size()) {
        return false;
    }
    for (auto it = sectionNames.lower_bound(prefix); it != sectionNames.end() && it->startsWith(prefix); ++it) {
        if (entryKey.startsWith(*it + ".")) {
            return false;
        }
    }
    key = entryKey.substr(prefix.size());
    return true;
}

// The value and section that the active sections of parameters other than `except` give the key;
// when several do, the one whose entry sorts last wins, as at start-up.
bool activeSectionValue(const String& key, const String& except, String& value, String& section) {
    bool found = false;
    for (const auto& [entryKey, entryValue] : params) {
        String param;
        String rest;
        if (!entryKey.split("/", param, rest) || param == except) {
            continue;
        }
        auto current = params.find(param);
        String dependent;
        if (current != params.end() && sectionKey(entryKey, param, current->second, dependent) && dependent == key) {
            value = entryValue;
            section = param + "/" + current->second;
            found = true;
        }
    }
    return found;
}

void apply(const String& key, const String& value, const String& section) {
    auto found = applied.find(key);
    auto current = params.find(key);
    if (found == applied.end() || current == params.end() || current->second != found->second.value) {
        Applied fresh;
        fresh.hadBase = current != params.end();
        fresh.base = fresh.hadBase ? current->second : String();
        found = applied.insert_or_assign(key, fresh).first;
    }
    found->second.section = section;
    found->second.value = value;
    params[key] = value;
}

// The keys that sections of the parameter other than its current value set return to what they
// would be without them: another active section's value, else the value they had before.
void revertSections(const String& param, const String& value) {
    String current = param + "/" + value;
    std::vector<std::pair<String, Applied>> reverted;
    for (auto it = applied.begin(); it != applied.end();) {
        if (it->second.section.startsWith(param + "/") && it->second.section != current) {
            reverted.emplace_back(*it);
            it = applied.erase(it);
        } else {
            ++it;
        }
    }
    for (const auto& [key, was] : reverted) {
        auto now = params.find(key);
        if (now == params.end() || now->second != was.value) {
            continue; // set since: that value is its own
        }
        String otherValue;
        String otherSection;
        if (activeSectionValue(key, param, otherValue, otherSection)) {
            params[key] = otherValue;
            applied[key] = {otherSection, otherValue, was.hadBase, was.base};
        } else if (was.hadBase) {
            params[key] = was.base;
        } else {
            params.erase(key);
        }
        log("- restoring param '" + key + "': " + (params.count(key) ? params[key] : String()));
    }
}

void parseInto(ParamMap& map, const String& text) {
    map.clear();
    String prefix;
    for (const String& rawLine : text.split("\n")) {
        String line = rawLine;
        if (line.endsWith("\r")) {
            line.pop_back();
        }
        if (line.startsWith("[") && line.endsWith("]")) {
            String section = line.replaced("[", "").replaced("]", "");
            prefix = line == "[]" ? String() : section + ".";
            if (section.contains("/")) {
                sectionNames.insert(section);
            }
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

// A profile names a folder and files inside the user folder; one that leaves it counts as "". It is
// joined to the folder's path, which ends with "/", so the one "/" that begins the game's own values
// ("/_profile2") stays inside.
void checkProfile(const String& userFile) {
    String profile = params["profile"];
    if (vessot::DirBase::staysInside(profile.startsWith("/") ? profile.substr(1) : profile)) {
        return;
    }
    String file = fromUserFile.count("profile") ? userFile : DEFAULT_FILE;
    log("ERROR: " + file + ": the key 'profile' ('" + profile + "') leaves the user folder; the profile counts as ''");
    params["profile"] = "";
}

} // namespace

String getParam(const String& key) {
    return params[key];
}

void setParam(const String& key, const String& value) {
    log("setting param '" + key + "' : " + value);
    applied.erase(key);
    fromUserFile.erase(key);
    params[key] = value;
    revertSections(key, value);
    ParamMap dependents;
    for (const auto& [entryKey, entryValue] : params) {
        String dependent;
        if (sectionKey(entryKey, key, value, dependent)) {
            dependents[entryKey] = dependent;
        }
    }
    for (const auto& [entryKey, dependent] : dependents) {
        String entryValue = params[entryKey];
        apply(dependent, entryValue, key + "/" + value);
        log("- setting dependancy param '" + dependent + "': " + entryValue);
    }
}

String configFileOf(const String& key) {
    return fromUserFile.count(key) ? zephUtil::getUserDataPath() + "zeph.cfg" : DEFAULT_FILE;
}

void parseConfigText(ParamMap& map, const String& text) {
    if (&map == &params) {
        sectionNames.clear();
        applied.clear();
        fromUserFile.clear();
    }
    parseInto(map, text);
}

void readConfigFile(ParamMap& map, const String& path, bool fromResources) {
    parseConfigText(map, fromResources ? vessot::Resource::hread(path) : vessot::File::hread(path));
}

String userConfigText(const ParamMap& map) {
    String text;
    for (const auto& [key, marker] : params) {
        if (!key.startsWith("cfg.")) {
            continue;
        }
        String userKey = key.substr(4);
        auto found = map.find(userKey);
        String value = found == map.end() ? String() : found->second;
        // A value a section applied is the platform's, not the player's: the player's own is kept.
        auto section = applied.find(userKey);
        if (section != applied.end() && section->second.value == value) {
            value = section->second.base;
        }
        text += userKey + ": " + value + "\n";
    }
    return text;
}

bool saveUserConfig(const ParamMap& map, const String& path) {
    return zephUtil::writePlayerFile(path, userConfigText(map));
}

void loadConfig() {
    readConfigFile(params, DEFAULT_FILE, true);
    String folder = zephUtil::getUserDataPath();
    String userFile = folder + "zeph.cfg";
    bool userFileExists = vessot::File::exists(userFile);
    String userText;
    if (zephUtil::readPlayerFile(userFile, userText)) {
        ParamMap user;
        parseInto(user, userText);
        for (const auto& [key, value] : user) {
            params[key] = value;
            fromUserFile.insert(key);
        }
    }
    // A section applies while its parameter has its value, over the player's own values as well,
    // so that the user's file (which holds only the player's own) never undoes it.
    std::vector<std::pair<String, std::pair<String, String>>> overrides;
    for (const auto& [entryKey, value] : params) {
        String param;
        String rest;
        if (!entryKey.split("/", param, rest)) {
            continue;
        }
        String dependent;
        // Read with insertion, as every parameter read is; the new key holds no "/" and is skipped.
        if (sectionKey(entryKey, param, params[param], dependent)) {
            overrides.push_back({dependent, {value, param + "/" + params[param]}});
        }
    }
    for (const auto& [key, override] : overrides) {
        apply(key, override.first, override.second);
        fromUserFile.erase(key);
    }
    checkProfile(userFile);
    if (!userFileExists) {
        saveUserConfig(params, userFile);
    }
}

} // namespace Session
