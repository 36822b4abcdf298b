// The actions that change variables and the inventory.
#include "script/Actions.h"

#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/Inventory.h"

#include "vessot/System.h"

namespace Actions {

void SetVar::execute() {
    apply(value);
}

void SetVar::apply(const String& valueText) {
    Variable* target = Vars::get(variable);
    String old = target->getValue();
    if (valueText.startsWith("$")) {
        target->assign(*Vars::get(valueText.substr(1)));
    } else if (valueText.startsWith("%")) {
        target->setValue(Inventory::hasItem(valueText.substr(1)) ? "1" : "0", false);
    } else if (valueText.startsWith("#rand:")) {
        // "#rand:A,B" draws from [A, B); a bound that is missing or not a number reads 0.
        String low = valueText.substr(6);
        String high;
        valueText.substr(6).split(",", low, high);
        target->setValue(String(vessot::jrand(low.toInt(), high.toInt())), false);
    } else {
        target->setValue(valueText, false);
    }
    // Compared with the text as written, so the "$", "%" and "#rand:" forms reset unless the
    // variable held that very text.
    if (old != valueText) {
        queueReset();
    }
}

void SetVar::queueReset() const {
    if (reset) {
        Session::queueCommand("reset_scene");
    }
}

void SetVar::setVariableOrReset() {
    if (variable.empty()) {
        queueReset();
    } else {
        SetVar::execute();
    }
}

void AppendToVar::execute() {
    String tail = value.startsWith("$") ? Vars::value(value.substr(1)) : value;
    apply(Vars::value(variable) + tail);
}

void AddItem::execute() {
    Inventory::addItem(item);
    setVariableOrReset();
}

void RemoveItem::execute() {
    Inventory::removeItem(item);
    setVariableOrReset();
}

void RemoveAllItems::execute() {
    if (item == "*") {
        Inventory::clear();
    } else {
        while (Inventory::hasItem(item)) {
            Inventory::removeItem(item);
        }
    }
    queueReset();
}

void IncVar::execute() {
    Vars::get(variable)->addInt(value);
    if (reset) {
        Session::queueCommand("reset_scene");
    }
}

void Execute::execute() {
    Session::executeCommand(command);
}

void SelectItem::execute() {
    Inventory::setSelectedItem(item);
}

void clearResetFlag(Action* action) {
    if (auto* setVar = dynamic_cast<SetVar*>(action)) {
        setVar->setReset(false);
    } else if (auto* incVar = dynamic_cast<IncVar*>(action)) {
        incVar->setReset(false);
    }
}

} // namespace Actions
