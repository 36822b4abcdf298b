#include "script/Dialog.h"

#include "engine/InterfaceServices.h"
#include "engine/scene/Chapter.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/Action.h"
#include "script/Actions.h"
#include "script/Character2D.h"
#include "script/Character2DRef.h"
#include "script/DialogManager.h"

Dialog::Dialog() {
    ++DialogManager::nodeCount;
}

namespace {

// The dialogs that references and redirects are entering inside one another, outermost first.
std::vector<String> entering;

// One level of references and redirects inside one another; too many is a loop of dialogs.
class Entering {
public:
    explicit Entering(const String& name) {
        if (entering.size() == (size_t)DialogManager::MAX_REFERENCE_STEPS) {
            std::vector<String> names = entering;
            names.push_back(name);
            DialogManager::failReferenceLoop(names);
        }
        entering.push_back(name);
    }
    ~Entering() { entering.pop_back(); }
    Entering(const Entering&) = delete;
    Entering& operator=(const Entering&) = delete;
};

} // namespace

// ---------------------------------------------------------------- lines, actions, jobs, jumps

void DialogEntry::start() {
    time = DialogPanel::sayLine(this);
}

DialogAction::DialogAction(Action* action) : action(action) {}

DialogAction::~DialogAction() = default;

void DialogAction::start() {
    action->execute();
}

DialogJob::DialogJob(Actions::CommandCharacter* command) : DialogAction(command) {}

// A character the active scene does not show was given nothing to do.
bool DialogJob::isDone() {
    Character2DRef* reference = static_cast<Actions::CommandCharacter*>(action.get())->findCharacter();
    return !reference || reference->getCharacter()->getJobQueueSize() == 0;
}

void DialogRedirect::start() {
    Entering entered(to);
    DialogManager::start(to);
}

Dialog* DialogReference::getTarget() const {
    return ref == "__END__" ? nullptr : DialogManager::activeChapter()->getDialog(ref);
}

void DialogReference::update(float step) {
    Entering entered(ref);
    if (Dialog* target = getTarget()) {
        target->update(step);
    }
}

void DialogReference::start() {
    Entering entered(ref);
    if (Dialog* target = getTarget()) {
        target->start();
    }
}

bool DialogReference::isDone() {
    Dialog* target = getTarget();
    return !target || target->isDone();
}

// ---------------------------------------------------------------- sequences and replies

DialogSequence::~DialogSequence() {
    for (Dialog* child : children) {
        delete child;
    }
}

void DialogSequence::add(Dialog* child) {
    child->parent = this;
    children.push_back(child);
}

Dialog* DialogSequence::lastAvailableChild() const {
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
        if (Session::checkCondition((*child)->condition)) {
            return *child;
        }
    }
    return nullptr;
}

void DialogSequence::startFrom(size_t index) {
    for (current = index; current < children.size(); ++current) {
        if (Session::checkCondition(children[current]->condition)) {
            children[current]->start();
            return;
        }
    }
}

void DialogSequence::start() {
    startFrom(0);
}

void DialogSequence::update(float step) {
    if (isDone()) {
        return;
    }
    Dialog* child = children[current];
    child->update(step);
    if (child->isDone()) {
        startFrom(current + 1);
    }
}

void DialogReply::start() {
    Chapter* chapter = DialogManager::activeChapter();
    if (!Session::checkCondition(persistent)) {
        Variable* flags = Vars::get(chapter->getName() + "_dlgflags");
        // A substring test: the flags hold each chosen reply's key once.
        if (!flags->getValue().contains(text)) {
            flags->setValue(flags->getValue() + ";" + text);
        }
    }
    // The condition that the loader gives a one-time reply.
    if (condition.contains("!^") && condition.contains("$onetime_dialogs")) {
        Variable* onetime = Vars::get("onetime_dialogs");
        onetime->setValue(onetime->getValue() + text + ",");
    }
    DialogSequence::start();
}

void DialogReply::update(float step) {
    DialogSequence::update(step);
    if (isDone() && dynamic_cast<DialogMenu*>(parent)) {
        DialogManager::enterNode(parent);
    }
}

// ---------------------------------------------------------------- menus

DialogMenu::~DialogMenu() {
    for (DialogReply* reply : replies) {
        delete reply;
    }
}

void DialogMenu::add(DialogReply* reply) {
    reply->parent = this;
    replies.push_back(reply);
}

std::vector<DialogReply*> DialogMenu::getAvailableReplies() const {
    std::vector<DialogReply*> available;
    for (DialogReply* reply : replies) {
        if (Session::checkCondition(reply->condition)) {
            available.push_back(reply);
        }
    }
    return available;
}

void DialogMenu::start() {
    std::vector<DialogReply*> available = getAvailableReplies();
    if (available.empty()) {
        Session::log("ERROR: DialogManager: 0 available replies in menu! closing Dialog Manager");
        DialogManager::start("__END__");
        return;
    }
    DialogPanel::showReplies(available);
}
