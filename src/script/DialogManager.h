#pragma once
// The dialog runner: opens and ends conversations, makes a node of a dialog tree current, keeps the
// stack of reply menus passed through, answers which replies lead nowhere new, and reads dialog
// files into a chapter's dialog trees.

#include "vessot/String.h"

#include <map>
#include <set>
#include <vector>

using vessot::String;

class Chapter;
class Dialog;
class DialogMenu;
class DialogReply;
class DialogSequence;

namespace vessxml {
class Node;
}

namespace DialogManager {

// The node last entered; null while no conversation runs.
extern Dialog* currentNode;
// The menus entered in this conversation, innermost last, each at most once.
extern std::vector<Dialog*> menuStack;
// The nodes built since the count was last reset (each node's constructor counts itself).
extern int nodeCount;

// References and redirects followed inside one another, and steps of the search for a reply's
// following menu, stop here with an error naming the dialogs they went through: the dialogs refer or
// redirect to each other in a loop.
constexpr int MAX_REFERENCE_STEPS = 32;
[[noreturn]] void failReferenceLoop(const std::vector<String>& names);

// The chapter of the active scene, where dialogs are looked up; throws when there is no scene.
Chapter* activeChapter();

// Opens the conversation panel and slides the HUD buttons away (unless the scene is locked); nothing
// when no conversation runs.
void show();
// Enters the dialog of that name of the active scene's chapter; "__END__" ends the conversation:
// the panel hides and the HUD buttons come back (unless the scene is locked).
void start(const String& name);
// Makes the node current and starts it; a menu goes on the stack, and going back to a menu already
// on it forgets the menus entered since.
void enterNode(Dialog* node);
// Ends the running conversation from outside (the "EndDialog" action, a switch into another
// chapter): closes the panel, which drops the lines being spoken, and forgets the conversation.
void end();
// Empties the menu stack and makes no node current.
void forget();
// Forgets the conversation when one of these trees (a chapter's dialogs, about to be destroyed)
// holds its current node or a menu on its stack.
void release(const std::map<String, Dialog*>& dialogs);

std::vector<Dialog*> getStack();
// The menu that choosing the reply leads to, or null.
DialogMenu* getFollowingMenu(DialogReply* reply);
// Whether choosing the reply again can bring nothing new: it was chosen before and every
// non-persistent reply of the menu it leads to is exhausted too (menus in visited count as
// exhausted, so loops end).
bool isReplyExhausted(DialogReply* reply, std::set<DialogMenu*>& visited);

// Reads one dialog file into the chapter's dialogs (a name given twice keeps the later tree);
// answers how many nodes it built.
int load(const String& path, std::map<String, Dialog*>& dialogs, Chapter* chapter);
// The same for a document already read: the children of its root element.
int loadElements(vessxml::Node* root, std::map<String, Dialog*>& dialogs, Chapter* chapter);
// The element's "condition", "" when absent.
String readCondition(vessxml::Node* element);
Dialog* parseEntry(vessxml::Node* element);
Dialog* parseRedirect(vessxml::Node* element);
Dialog* parseReference(vessxml::Node* element);
Dialog* parseAction(vessxml::Node* element, Chapter* chapter);
Dialog* parseJob(vessxml::Node* element, Chapter* chapter);
// Adds the sequence's or reply's children in file order; elements of other names are skipped.
void parseChildren(DialogSequence* sequence, vessxml::Node* element, Chapter* chapter);
DialogReply* parseReply(vessxml::Node* element, Chapter* chapter);
DialogMenu* parseMenu(vessxml::Node* element, Chapter* chapter);

} // namespace DialogManager
