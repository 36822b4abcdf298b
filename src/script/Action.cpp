#include "script/Action.h"

#include "engine/session/Evaluator.h"
#include "script/Actions.h"

#include "nimboui/Exception.h"
#include "vessxml/Xml.h"

#include <memory>

namespace {

using Node = vessxml::Node;
using Made = std::unique_ptr<Action>;

Made child(Node* element, Chapter* owner) {
    return Made(Action::createFromXml(element, owner));
}

// The children named "Action" of a container, in document order; others are skipped.
template <class Add> void eachChild(Node* element, Add add) {
    for (Node* node : element->children()) {
        if (*node == "Action") {
            add(node);
        }
    }
}

Made makeMultiple(Node* element, Chapter* owner) {
    auto multiple = std::make_unique<Actions::Multiple>();
    eachChild(element, [&](Node* node) {
        String verb = node->pstr("multiple");
        String condition = node->pstr("condition", "");
        multiple->addAction(verb, condition, child(node, owner).release());
    });
    return multiple;
}

Made makeItemAction(Node* element, Chapter* owner) {
    auto itemAction = std::make_unique<Actions::ItemAction>();
    eachChild(element, [&](Node* node) {
        Made action = child(node, owner);
        String item = node->pstr("itemaction");
        String condition = node->pstr("condition", "");
        itemAction->addAction(item, condition, action.release());
    });
    return itemAction;
}

Made makeComposite(Node* element, Chapter* owner) {
    auto composite = std::make_unique<Actions::Composite>();
    eachChild(element, [&](Node* node) {
        String condition = node->pstr("condition", "");
        composite->addAction(condition, child(node, owner).release());
    });
    return composite;
}

Made makeCommandCharacter(Node* element, Chapter* owner) {
    auto command = std::make_unique<Actions::CommandCharacter>(element->pstr("chr"));
    // The actions inside the jobs are made for the same chapter.
    command->setOwner(owner);
    command->parseJobs(element);
    return command;
}

Made makeSay(Node* element, Chapter*) {
    auto say = std::make_unique<Actions::Say>(element->pstr("key"));
    if (element->pexists("prefix")) {
        say->setPrefix(element->pstr("prefix"));
    }
    return say;
}

struct ActionType {
    const char* name;
    Made (*make)(Node* element, Chapter* owner);
};

// The action types by their "type" keyword, in the order they are tested.
const ActionType ACTION_TYPES[] = {
    {"SwitchScene",
     [](Node* e, Chapter*) -> Made {
         return std::make_unique<Actions::SwitchScene>(e->pfloat("fade_time", 0.5f), e->pstr("scene"),
                                                       e->pstr("effect", "fade"), e->pstr("params", ""));
     }},
    {"ResetScene", [](Node*, Chapter*) -> Made { return std::make_unique<Actions::ResetScene>(); }},
    {"Reference", [](Node* e, Chapter*) -> Made { return std::make_unique<Actions::Reference>(e->pstr("ref")); }},
    {"Text", [](Node* e, Chapter*) -> Made { return std::make_unique<Actions::Text>(e->pstr("key")); }},
    {"Say", makeSay},
    {"GenericText",
     [](Node* e, Chapter*) -> Made {
         return std::make_unique<Actions::GenericText>(e->pstr("base"), e->pstr("shuffle"));
     }},
    {"Dialog", [](Node* e, Chapter*) -> Made { return std::make_unique<Actions::Dialog>(e->pstr("dialog")); }},
    {"EndDialog", [](Node*, Chapter*) -> Made { return std::make_unique<Actions::EndDialog>(); }},
    {"AddItem",
     [](Node* e, Chapter*) -> Made {
         return std::make_unique<Actions::AddItem>(e->pstr("item"), e->pstr("var", ""), e->pstr("value", ""),
                                                   e->pbool("reset", true));
     }},
    {"RemoveItem",
     [](Node* e, Chapter*) -> Made {
         return std::make_unique<Actions::RemoveItem>(e->pstr("item"), e->pstr("var", ""), e->pstr("value", ""),
                                                      e->pbool("reset", true));
     }},
    {"RemoveAllItems",
     [](Node* e, Chapter*) -> Made {
         return std::make_unique<Actions::RemoveAllItems>(e->pstr("item"), e->pbool("reset", true));
     }},
    {"SetVar",
     [](Node* e, Chapter*) -> Made {
         return std::make_unique<Actions::SetVar>(e->pstr("var"), e->pstr("value"), e->pbool("reset", true));
     }},
    {"AppendToVar",
     [](Node* e, Chapter*) -> Made {
         return std::make_unique<Actions::AppendToVar>(e->pstr("var"), e->pstr("value"), e->pbool("reset", true));
     }},
    {"SendEventToObject",
     [](Node* e, Chapter*) -> Made {
         return std::make_unique<Actions::SendEventToObject>(e->pstr("obj_name"), e->pstr("event"),
                                                             e->pstr("params", ""));
     }},
    {"SetActionMap", [](Node* e, Chapter*) -> Made { return std::make_unique<Actions::SetActionMap>(e->pstr("amp")); }},
    {"DebugPrint", [](Node* e, Chapter*) -> Made { return std::make_unique<Actions::DebugPrint>(e->pstr("text")); }},
    {"EndProgram", [](Node*, Chapter*) -> Made { return std::make_unique<Actions::EndProgram>(); }},
    {"LockScene", [](Node*, Chapter*) -> Made { return std::make_unique<Actions::LockScene>(); }},
    {"UnlockScene", [](Node*, Chapter*) -> Made { return std::make_unique<Actions::UnlockScene>(); }},
    {"PlaySound",
     [](Node* e, Chapter*) -> Made {
         return std::make_unique<Actions::PlaySoundW>(e->pstr("sound"), e->pfloat("fade_time", 0.0f),
                                                      e->pbool("loop", false));
     }},
    {"StopSound",
     [](Node* e, Chapter*) -> Made {
         return std::make_unique<Actions::StopSound>(e->pstr("sound"), e->pfloat("fade_time", 0.0f));
     }},
    {"UnlockAchievement",
     [](Node* e, Chapter*) -> Made { return std::make_unique<Actions::UnlockAchievement>(e->pstr("achievement")); }},
    {"IncVar",
     [](Node* e, Chapter*) -> Made {
         return std::make_unique<Actions::IncVar>(e->pstr("var"), e->pint("value"), e->pbool("reset", true));
     }},
    {"Execute", [](Node* e, Chapter*) -> Made { return std::make_unique<Actions::Execute>(e->pstr("cmd")); }},
    {"SelectItem", [](Node* e, Chapter*) -> Made { return std::make_unique<Actions::SelectItem>(e->pstr("item")); }},
    {"Multiple", makeMultiple},
    {"ItemAction", makeItemAction},
    {"Composite", makeComposite},
    {"CommandCharacter", makeCommandCharacter},
    {"ClearJobs", [](Node* e, Chapter*) -> Made { return std::make_unique<Actions::ClearJobs>(e->pstr("chr")); }},
    {"SetCharacterPos",
     [](Node* e, Chapter*) -> Made {
         return std::make_unique<Actions::SetCharacterPos>(e->pstr("pos"), e->pstr("chr"));
     }},
};

} // namespace

Action* Action::createFromXml(vessxml::Node* element, Chapter* owner) {
    String type = element->pstr("type");
    for (const ActionType& known : ACTION_TYPES) {
        if (type != known.name) {
            continue;
        }
        Made action = known.make(element, owner);
        // Applied after the children, so a container's own key wins over one a child lent it.
        String rollover = element->pstr("rollover", "");
        if (!rollover.empty()) {
            action->setRolloverKey(rollover);
        }
        action->setOwner(owner);
        return action.release();
    }
    throw nimboui::_GenericException("Unknown action type in XML file: " + type + " (" + element->getFile() + ":" +
                                         String(element->getLine()) + ")",
                                     "GenericException", __FILE__, __LINE__);
}

Action* Action::finishClone(Action* copy) const {
    if (!rolloverKey.empty()) {
        copy->rolloverKey = rolloverKey;
    }
    copy->owner = owner;
    return copy;
}

Chapter* Action::ownerChapter() const {
    if (!owner) {
        throw _ScriptException(getTypeName() + ": the action belongs to no chapter", __FILE__, __LINE__);
    }
    return owner;
}
