#pragma once
// Runs dialog trees and reads dialog files.

#include "vessot/String.h"

#include <map>

using vessot::String;

class Chapter;
class Dialog;

namespace DialogManager {

extern Dialog* currentNode;

void start(const String& name);
void show();
// Ends the running dialog: closes the conversation panel, and no node is current.
void end();
// Reads one dialog file into the chapter's dialogs; answers how many nodes it built.
int load(const String& path, std::map<String, Dialog*>& dialogs, Chapter* chapter);

} // namespace DialogManager
