#include "script/DialogManager.h"

#include "engine/InterfaceServices.h"
#include "engine/session/Session.h"

namespace DialogManager {

Dialog* currentNode = nullptr;

// Dialog trees are not read yet: a conversation that a script starts is only logged.
void start(const String& name) {
    Session::log("dialog '" + name + "' is not available");
}
void show() {}

void end() {
    DialogPanel::close();
    currentNode = nullptr;
}

int load(const String& path, std::map<String, Dialog*>&, Chapter*) {
    Session::log("dialog file " + path + " skipped: dialogs are not read yet");
    return 0;
}

} // namespace DialogManager
