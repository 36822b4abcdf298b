#include "script/Action.h"

#include "script/Actions.h"

#include "nimboui/Exception.h"
#include "vessxml/Xml.h"

namespace {

// Every type the script language knows, in the order the factory tests them.
const char* const KNOWN_TYPES[] = {
    "SwitchScene",
    "ResetScene",
    "Reference",
    "Text",
    "Say",
    "GenericText",
    "Dialog",
    "EndDialog",
    "AddItem",
    "RemoveItem",
    "RemoveAllItems",
    "SetVar",
    "AppendToVar",
    "SendEventToObject",
    "SetActionMap",
    "DebugPrint",
    "EndProgram",
    "LockScene",
    "UnlockScene",
    "PlaySound",
    "StopSound",
    "UnlockAchievement",
    "IncVar",
    "Execute",
    "SelectItem",
    "Multiple",
    "ItemAction",
    "Composite",
    "CommandCharacter",
    "ClearJobs",
    "SetCharacterPos",
};

Action* build(vessxml::Node* element, const String& type) {
    if (type == "SwitchScene") {
        return new Actions::SwitchScene(element->pfloat("fade_time", 0.5f), element->pstr("scene"),
                                        element->pstr("effect", "fade"), element->pstr("params", ""));
    }
    if (type == "Execute") {
        return new Actions::Execute(element->pstr("cmd"));
    }
    if (type == "Reference") {
        return new Actions::Reference(element->pstr("ref"));
    }
    for (const char* known : KNOWN_TYPES) {
        if (type == known) {
            return new Actions::Unavailable(type);
        }
    }
    return nullptr;
}

} // namespace

Action* Action::createFromXml(vessxml::Node* element, Chapter* owner) {
    String type = element->pstr("type");
    Action* action = build(element, type);
    if (!action) {
        throw nimboui::_GenericException("Unknown action type in XML file: " + type, "GenericException", __FILE__,
                                         __LINE__);
    }
    String rollover = element->pstr("rollover", "");
    if (!rollover.empty()) {
        action->setRolloverKey(rollover);
    }
    action->setOwner(owner);
    return action;
}

Action* Action::finishClone(Action* copy) const {
    if (!rolloverKey.empty()) {
        copy->rolloverKey = rolloverKey;
    }
    copy->owner = owner;
    return copy;
}
