#pragma once
// The variable store: every piece of game state that scripts, conditions, dialogs and saves touch is
// a named string variable. Some names are computed on each read by a registered getter.

#include "nimboui/Exception.h"
#include "vessot/String.h"

#include <map>
#include <utility>
#include <vector>

using vessot::String;

class Variable;

// Called with the variable, the new value and the old value, before the new value is stored.
using VariableListener = void (*)(Variable* variable, const String& newValue, const String& oldValue);
using VariableGetter = String (*)();

class Variable {
public:
    String name = "unnamed";
    String value;
    String initialValue;
    std::vector<VariableListener> listeners;

    // Logs the change (unless silent), runs the listeners in order, then stores the value.
    void setValue(const String& newValue, bool silent = false);
    String getValue() const { return value; }
    void setInt(int number);
    // Values that do not begin with a number count as 0; the sum is kept within int's range.
    void addInt(int delta);
    bool equalsInt(int number) const;
    // Takes the other's name when this one is still "unnamed", then its value.
    void assign(const Variable& other);
    void addListener(VariableListener listener) { listeners.push_back(listener); }
};

class _UnknownVariableException : public nimboui::_GenericException {
public:
    _UnknownVariableException(const String& message, const String& file, int line)
        : nimboui::_GenericException(message, "UnknownVariableException ", file, line) {}
};

class VariableTable {
public:
    std::map<String, Variable> variables;
    std::map<String, VariableGetter> getters;

    // Computed variables first, then stored ones; a name in neither throws _UnknownVariableException.
    Variable* get(const String& name);
    bool exists(const String& name) const { return getters.count(name) || variables.count(name); }
    Variable* getOrCreate(const String& name);
    void registerGetter(const String& name, VariableGetter getter) { getters[name] = getter; }
    void snapshotInitialValues();
    void reset();
    void loadFromXml(String path);
    // Opens the file first, so a file that cannot be read changes nothing.
    void loadDiff(const String& path);
    // The diff file's text over the start-up state; name stands for the file in log lines.
    void loadDiffText(const String& text, const String& name);
    // The "name: value" entries of a diff file's text in file order, as loadDiffText reads them
    // (one trailing "\r" removed, empty lines and lines without ": " skipped, the latter logged).
    static std::vector<std::pair<String, String>> parseDiff(const String& text, const String& name);
    // Writes diffText atomically; a failed write is logged and answers false (the old file stays),
    // with the reason in *reason when one is given.
    bool saveDiff(const String& path, String* reason = nullptr) const;
    // The diff file's text: "name: value" lines for every stored variable that differs from its
    // initial value, in name order. A line break inside a value is written as a blank (with a
    // warning naming the variable), so that the file never gains a variable.
    String diffText() const;
};

namespace Vars {

extern VariableTable variables;
extern VariableTable snapshot;
// Stands in for every computed variable on read.
extern Variable nullVariable;

// These act on the live store.
inline Variable* get(const String& name) {
    return variables.get(name);
}
inline Variable* getOrCreate(const String& name) {
    return variables.getOrCreate(name);
}
inline void snapshotInitialValues() {
    variables.snapshotInitialValues();
}
inline void reset() {
    variables.reset();
}
inline void loadFromXml(const String& path) {
    variables.loadFromXml(path);
}
inline void loadDiff(const String& path) {
    variables.loadDiff(path);
}
inline bool saveDiff(const String& path, String* reason = nullptr) {
    return variables.saveDiff(path, reason);
}
// The value of a stored or computed variable.
inline String value(const String& name) {
    return get(name)->getValue();
}
inline void set(const String& name, const String& newValue) {
    get(name)->setValue(newValue, false);
}

} // namespace Vars
