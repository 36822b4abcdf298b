#include "engine/session/Vars.h"

#include "engine/session/Session.h"
#include "engine/session/zephUtil.h"

#include "vessot/Array.h"
#include "vessot/File.h"
#include "vessxml/Xml.h"

#include <algorithm>
#include <climits>

namespace Vars {
VariableTable variables;
VariableTable snapshot;
Variable nullVariable;
} // namespace Vars

void Variable::setValue(const String& newValue, bool silent) {
    if (!silent) {
        // Built in place: start-up logs one such line for every variable.
        String line;
        line.reserve(name.size() + newValue.size() + value.size() + 16);
        line.append("$").append(name).append(": '").append(newValue).append("' (was '").append(value).append("')");
        Session::log(line);
    }
    // Listeners may add listeners or set this variable again: iterate over a copy.
    std::vector<VariableListener> current = listeners;
    for (VariableListener listener : current) {
        listener(this, newValue, value);
    }
    value = newValue;
}

void Variable::setInt(int number) {
    setValue(String(number), false);
}

void Variable::addInt(int delta) {
    // The sum stays within int's range rather than overflowing.
    long long sum = (long long)value.toInt() + delta;
    setValue(String((int)std::clamp<long long>(sum, INT_MIN, INT_MAX)), false);
}

bool Variable::equalsInt(int number) const {
    return value.toInt() == number;
}

void Variable::assign(const Variable& other) {
    if (name == "unnamed") {
        name = other.name;
    }
    String copy = other.value;
    setValue(copy, false);
}

Variable* VariableTable::get(const String& name) {
    auto getter = getters.find(name);
    if (getter != getters.end()) {
        Variable& computed = Vars::nullVariable;
        computed.name = name;
        String result = getter->second();
        std::vector<VariableListener> current = computed.listeners;
        for (VariableListener listener : current) {
            listener(&computed, result, computed.value);
        }
        computed.value = result;
        return &computed;
    }
    auto stored = variables.find(name);
    if (stored != variables.end()) {
        return &stored->second;
    }
    throw _UnknownVariableException(name + " does not exist", __FILE__, __LINE__);
}

Variable* VariableTable::getOrCreate(const String& name) {
    return &variables[name];
}

void VariableTable::snapshotInitialValues() {
    for (auto& [key, variable] : variables) {
        variable.initialValue = variable.value;
    }
}

void VariableTable::reset() {
    Session::log("resetting vars");
    for (auto& [key, variable] : variables) {
        variable.value = variable.initialValue;
    }
}

void VariableTable::loadFromXml(String path) {
    Session::log("loading variables from " + path);
    Session::log("----------");
    if (path.startsWith("/")) {
        path = zephUtil::dotString() + "/" + path;
    }
    vessxml::Document document = vessxml::open(path);
    variables.clear();
    int count = 0;
    for (vessxml::Node* child : document->children()) {
        if (*child != "Var") {
            continue;
        }
        String name = child->pstr("name");
        auto [entry, added] = variables.try_emplace(name);
        if (!added) {
            Session::log("WARNING: Duplicate variable " + name + " in " + path + "\n");
        }
        Variable& variable = entry->second;
        if (variable.name == "unnamed") {
            variable.name = name;
        }
        variable.setValue(child->pstr("value"), false);
        ++count;
    }
    vessxml::close(document);
    Session::log("----------");
    Session::log("loaded " + String(count) + " variables");
}

void VariableTable::loadDiff(const String& path) {
    Session::log("loading variables diff from " + path);
    String text = vessot::File::hread(path);
    loadDiffText(text, path);
}

void VariableTable::loadDiffText(const String& text, const String& name) {
    reset();
    std::vector<std::pair<String, String>> entries = parseDiff(text, name);
    for (const auto& [key, value] : entries) {
        getOrCreate(key)->setValue(value, false);
    }
    Session::log("loaded " + String((int)entries.size()) + " variables from diff file");
}

std::vector<std::pair<String, String>> VariableTable::parseDiff(const String& text, const String& name) {
    std::vector<std::pair<String, String>> entries;
    int lineNumber = 0;
    vessot::Array<String> lines = text.split("\n");
    if (!lines.empty() && lines.last().empty()) {
        lines.removeLast(); // the line break that ends the last line
    }
    for (String& line : lines) {
        ++lineNumber;
        if (line.endsWith("\r")) {
            line.pop_back();
        }
        if (line.empty()) {
            continue;
        }
        String key;
        String value;
        if (!line.split(": ", key, value)) {
            Session::log("WARNING: skipping line " + String(lineNumber) + " of " + name + ": no ': ' separator");
            continue;
        }
        entries.emplace_back(key, value);
    }
    return entries;
}

String VariableTable::diffText() const {
    String text;
    for (const auto& [key, variable] : variables) {
        if (variable.value == variable.initialValue) {
            continue;
        }
        String value = variable.value;
        if (value.contains("\n")) {
            // One line per variable: a line break would cut the value and start a variable of its own.
            Session::log("WARNING: the value of " + key + " holds a line break; it is saved with a blank instead");
            value = value.replaced("\n", " ");
        }
        text += key + ": " + value + "\n";
    }
    return text;
}

bool VariableTable::saveDiff(const String& path, String* reason) const {
    return zephUtil::writePlayerFile(path, diffText(), reason);
}
