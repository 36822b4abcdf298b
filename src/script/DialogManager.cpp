#include "script/DialogManager.h"

#include "engine/InterfaceServices.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Evaluator.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/view/Input.h"
#include "script/Action.h"
#include "script/Actions.h"
#include "script/Dialog.h"

#include "nimboui/Object.h"
#include "vessxml/Xml.h"

#include <algorithm>
#include <memory>

namespace DialogManager {

Dialog* currentNode = nullptr;
std::vector<Dialog*> menuStack;
int nodeCount = 0;

void failReferenceLoop(const std::vector<String>& names) {
    std::vector<String> loop;
    String named;
    for (const String& name : names) {
        if (std::find(loop.begin(), loop.end(), name) == loop.end()) {
            named += (loop.empty() ? "'" : ", '") + name + "'";
            loop.push_back(name);
        }
    }
    throw _ScriptException("Dialog references and redirects nested more than " + String(MAX_REFERENCE_STEPS) +
                               " deep (a loop?) through " + named,
                           __FILE__, __LINE__);
}

Chapter* activeChapter() {
    if (!Session::activeScene) {
        throw _ScriptException("Dialogs: there is no active scene", __FILE__, __LINE__);
    }
    return Session::activeScene->chapter;
}

// ---------------------------------------------------------------- conversations

namespace {

void setPanelVisible(bool visible) {
    if (nimboui::Object* panel = Hud::uiObject("dialog")) {
        panel->setVisible(visible);
    }
}

// The top of the tree that holds the node.
Dialog* rootOf(Dialog* node) {
    while (node->parent) {
        node = node->parent;
    }
    return node;
}

} // namespace

void show() {
    // A conversation that ended as it started (a menu with nothing to offer) leaves the panel shut:
    // nothing would close it again.
    if (!currentNode) {
        return;
    }
    fastForwardActive = false;
    setPanelVisible(true);
    if (!Session::sceneLocked) {
        Hud::hideButtons(true);
    }
}

void start(const String& name) {
    if (name == "__END__") {
        forget();
        setPanelVisible(false);
        if (!Session::sceneLocked) {
            Hud::showButtons(false);
        }
        return;
    }
    if (Dialog* node = activeChapter()->getDialog(name)) {
        enterNode(node);
    }
}

void enterNode(Dialog* node) {
    currentNode = node;
    if (dynamic_cast<DialogMenu*>(node)) {
        auto found = std::find(menuStack.begin(), menuStack.end(), node);
        if (found == menuStack.end()) {
            menuStack.push_back(node);
        } else {
            menuStack.erase(found + 1, menuStack.end());
        }
    }
    node->start();
}

void end() {
    DialogPanel::close();
    forget();
}

void forget() {
    menuStack.clear();
    currentNode = nullptr;
}

void release(const std::map<String, Dialog*>& dialogs) {
    auto inTrees = [&](Dialog* node) {
        Dialog* root = rootOf(node);
        return std::any_of(dialogs.begin(), dialogs.end(), [&](const auto& entry) { return entry.second == root; });
    };
    if ((currentNode && inTrees(currentNode)) || std::any_of(menuStack.begin(), menuStack.end(), inTrees)) {
        forget();
    }
}

std::vector<Dialog*> getStack() {
    return menuStack;
}

// ---------------------------------------------------------------- exhausted replies

DialogMenu* getFollowingMenu(DialogReply* reply) {
    Dialog* next = reply->lastAvailableChild();
    std::vector<String> followed;
    while (auto* reference = dynamic_cast<DialogReference*>(next)) {
        followed.push_back(reference->ref);
        if (followed.size() > (size_t)MAX_REFERENCE_STEPS) {
            failReferenceLoop(followed);
        }
        Dialog* target = reference->getTarget();
        auto* sequence = dynamic_cast<DialogSequence*>(target);
        if (!sequence) {
            next = target;
            break;
        }
        next = sequence->lastAvailableChild();
        if (!next) {
            return nullptr;
        }
    }
    auto* redirect = dynamic_cast<DialogRedirect*>(next);
    if (!redirect || redirect->to == "__END__") {
        return nullptr;
    }
    return dynamic_cast<DialogMenu*>(activeChapter()->getDialog(redirect->to));
}

bool isReplyExhausted(DialogReply* reply, std::set<DialogMenu*>& visited) {
    String flags = Vars::get(activeChapter()->getName() + "_dlgflags")->getValue();
    if (!flags.contains(reply->text)) {
        return false;
    }
    DialogMenu* menu = getFollowingMenu(reply);
    if (!menu || !visited.insert(menu).second) {
        return true;
    }
    bool exhausted = true;
    for (DialogReply* next : menu->getAvailableReplies()) {
        if (!Session::checkCondition(next->persistent)) {
            exhausted = isReplyExhausted(next, visited) && exhausted;
        }
    }
    return exhausted;
}

// ---------------------------------------------------------------- dialog files

String readCondition(vessxml::Node* element) {
    return element->pstr("condition", "");
}

namespace {

// A node with its condition read from the element.
Dialog* withCondition(Dialog* node, vessxml::Node* element) {
    std::unique_ptr<Dialog> owned(node);
    owned->condition = readCondition(element);
    return owned.release();
}

} // namespace

Dialog* parseEntry(vessxml::Node* element) {
    return withCondition(new DialogEntry(element->pstr("text"), element->pstr("chr")), element);
}

Dialog* parseRedirect(vessxml::Node* element) {
    return withCondition(new DialogRedirect(element->pstr("to")), element);
}

Dialog* parseReference(vessxml::Node* element) {
    return withCondition(new DialogReference(element->pstr("ref")), element);
}

Dialog* parseAction(vessxml::Node* element, Chapter* chapter) {
    return withCondition(new DialogAction(Action::createFromXml(element, chapter)), element);
}

Dialog* parseJob(vessxml::Node* element, Chapter* chapter) {
    auto command = std::make_unique<Actions::CommandCharacter>(element->pstr("chr"));
    command->setOwner(chapter);
    command->parseJob(element);
    return withCondition(new DialogJob(command.release()), element);
}

void parseChildren(DialogSequence* sequence, vessxml::Node* element, Chapter* chapter) {
    for (vessxml::Node* child : element->children()) {
        Dialog* node = nullptr;
        if (*child == "Dialog") {
            node = parseEntry(child);
        } else if (*child == "Redirect") {
            node = parseRedirect(child);
        } else if (*child == "Reference") {
            node = parseReference(child);
        } else if (*child == "Action") {
            node = parseAction(child, chapter);
        } else if (*child == "Job") {
            node = parseJob(child, chapter);
        }
        if (node) {
            sequence->add(node);
        }
    }
}

DialogReply* parseReply(vessxml::Node* element, Chapter* chapter) {
    String persistent = element->pstr("persistent", "0");
    String condition = readCondition(element);
    String text = element->pstr("text");
    if (element->pstr("onetime", "") == "1") {
        if (condition) {
            condition = "(" + condition + ") and ";
        }
        condition += text + " !^ $onetime_dialogs";
    }
    auto reply = std::make_unique<DialogReply>(text, persistent);
    reply->condition = condition;
    parseChildren(reply.get(), element, chapter);
    return reply.release();
}

DialogMenu* parseMenu(vessxml::Node* element, Chapter* chapter) {
    auto menu = std::make_unique<DialogMenu>(element->pstr("name"));
    for (vessxml::Node* child : element->children()) {
        if (*child == "Reply") {
            menu->add(parseReply(child, chapter));
        }
    }
    return menu.release();
}

namespace {

bool isTopLevel(vessxml::Node* element) {
    return *element == "Dialog" || *element == "Sequence" || *element == "Menu";
}

// Builds the node of a top-level element: a line, a sequence or a menu.
Dialog* parseTopLevel(vessxml::Node* element, Chapter* chapter) {
    if (*element == "Dialog") {
        return parseEntry(element);
    }
    if (*element == "Sequence") {
        auto sequence = std::make_unique<DialogSequence>();
        parseChildren(sequence.get(), element, chapter);
        return sequence.release();
    }
    return parseMenu(element, chapter);
}

} // namespace

int loadElements(vessxml::Node* root, std::map<String, Dialog*>& dialogs, Chapter* chapter) {
    nodeCount = 0;
    for (vessxml::Node* element : root->children()) {
        if (!isTopLevel(element)) {
            Session::log("Dialogs: element " + element->describe() + " is not a dialog; skipped");
            continue;
        }
        String name = element->pstr("name");
        Dialog* node = parseTopLevel(element, chapter);
        Dialog*& slot = dialogs[name];
        if (slot) {
            Session::log("WARNING: dialog '" + name + "' " + element->describe() + " replaces an earlier one");
            release({{name, slot}});
            delete slot;
        }
        slot = node;
    }
    return nodeCount;
}

int load(const String& path, std::map<String, Dialog*>& dialogs, Chapter* chapter) {
    vessxml::Document document = vessxml::open(path);
    int count = loadElements(document.getRoot(), dialogs, chapter);
    vessxml::close(document);
    return count;
}

} // namespace DialogManager
