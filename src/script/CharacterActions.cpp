// The character actions and the parser of their "Job" elements.
#include "script/Actions.h"

#include "engine/scene/Chapter.h"
#include "engine/session/Evaluator.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/Character2D.h"
#include "script/Character2DRef.h"
#include "script/Characters.h"
#include "script/ZephJobs.h"

#include "marionix/Actor.h"
#include "nimboui/Object.h"
#include "vessxml/Xml.h"

namespace Actions {

Character2DRef* CharacterAction::findCharacter() const {
    String name = character.startsWith("$") ? Vars::value(character.substr(1, 100)) : character;
    return Characters::findCharacterRef(name);
}

void ClearJobs::execute() {
    if (Character2DRef* reference = findCharacter()) {
        reference->getCharacter()->clearJobs();
    }
}

CommandCharacter::CommandCharacter(const String& character) : CharacterAction(character) {}

CommandCharacter::~CommandCharacter() = default;

void CommandCharacter::execute() {
    Character2DRef* reference = findCharacter();
    if (!reference) {
        return;
    }
    Character2D* target = reference->getCharacter();
    // Started by this character's own CallAction job: the new jobs run right after it and the rest
    // of the queue follows them. Otherwise they replace the queue.
    unsigned index = 1;
    if (ZephJobs::callingCharacter != target->nimboui::Object::getName()) {
        index = 1000;
        if (target->getCurrentJobType() == "SwitchScene") {
            target->update(0.0f);
        }
        target->clearJobs();
    }
    for (const JobEntry& entry : jobs) {
        if (Evaluator::evaluate(entry.condition) == "1") {
            target->insertJob(index++, entry.prototype->clone());
        }
    }
}

Action* CommandCharacter::clone() {
    auto* copy = new CommandCharacter(character);
    for (const JobEntry& entry : jobs) {
        copy->jobs.push_back({std::unique_ptr<Marionix::Job>(entry.prototype->clone()), entry.condition});
    }
    return finishClone(copy);
}

void CommandCharacter::parseJobs(vessxml::Node* element) {
    for (vessxml::Node* child : element->children()) {
        if (*child == "Job") {
            parseJob(child);
        }
    }
}

namespace {

// The position a scene-switch job places the character at: "pos", else "x,y,direction" when all
// three are given, else "".
String switchPosition(vessxml::Node* element) {
    if (element->pexists("pos")) {
        return element->pstr("pos");
    }
    if (element->pexists("x") && element->pexists("y") && element->pexists("direction")) {
        return element->pstr("x") + "," + element->pstr("y") + "," + element->pstr("direction");
    }
    return "";
}

// An action of the element wrapped in the job that runs it.
Marionix::Job* wrapAction(vessxml::Node* element, Chapter* owner, const String& speaker) {
    std::unique_ptr<Action> action(Action::createFromXml(element, owner));
    String condition = element->pstr("condition", "");
    String type = action->getTypeName();
    if (type == "Say" || type == "Text" || type == "GenericText") {
        bool nowait = element->pbool("nowait", false);
        return new ZephJobs::Say(speaker, action.release(), condition, nowait);
    }
    if (type == "SwitchScene") {
        String position = switchPosition(element);
        return new ZephJobs::SwitchScene(static_cast<SwitchScene*>(action.release()), condition, position);
    }
    return new ZephJobs::ActionWrapper(action.release(), condition);
}

} // namespace

void CommandCharacter::parseJob(vessxml::Node* element) {
    String type = element->pstr("type");
    String condition = element->pstr("condition", "");
    Marionix::Job* job = nullptr;
    if (type == "Move") {
        job = new ZephJobs::SplineMove("", element->pbool("ignore_lba", false), element->pfloat("x"),
                                       element->pfloat("y"));
    } else if (type == "Animate") {
        job = new Marionix::Jobs::Animate(element->pstr("ani"), element->pbool("loop", false));
    } else if (type == "SetOrientation") {
        job = new ZephJobs::SetOrientation(element->pstr("direction"));
    } else if (type == "CallAction") {
        job = new ZephJobs::CallAction(element->pstr("ref"), owner);
    } else if (type == "Pause") {
        job = new ZephJobs::Pause(element->pfloat("time"));
    } else if (type == "Dialog") {
        job = new ZephJobs::Dialog(element->pstr("dialog"));
    } else if (type == "PlaySound") {
        job = new ZephJobs::PlaySoundW(element->pstr("sound"), element->pbool("wait", false));
    } else {
        job = wrapAction(element, owner, character);
    }
    jobs.push_back({std::unique_ptr<Marionix::Job>(job), condition});
}

void SetCharacterPos::execute() {
    auto* target = dynamic_cast<Character2D*>(Session::getChapter("characters")->getObject(character));
    if (!target) {
        throw nimboui::_GenericException("SetCharacterPos: '" + character + "' is not a character", "GenericException",
                                         __FILE__, __LINE__);
    }
    target->setPositionFromString(position);
}

} // namespace Actions
