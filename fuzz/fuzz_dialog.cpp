// Dialog files: the children of the input's root element read into dialog trees for a scratch
// chapter (its actions and jobs made too), walked and freed. Every outcome is a set of trees or one of
// the engine's exceptions, and no node is built that the count does not know.

#include "FuzzInput.h"
#include "engine/scene/Chapter.h"
#include "engine/session/Vars.h"
#include "script/Dialog.h"
#include "script/DialogManager.h"

#include "echon/AudioManager.h"
#include "vessot/Exception.h"
#include "vessxml/Xml.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>

namespace {

// The chapter the dialogs belong to: never loaded.
Chapter* scratchChapter() {
    static Chapter* chapter = [] {
        echon::init("Offline");
        echon::mgr->createCategory("fx", echon::BUFFER_FULL, echon::SOURCE_RESOURCE);
        return new Chapter("fuzz/scratch/scratch_hd.datadef", nullptr);
    }();
    return chapter;
}

// The nodes of a tree.
int countNodes(Dialog* node) {
    int count = 1;
    if (auto* sequence = dynamic_cast<DialogSequence*>(node)) {
        for (Dialog* child : sequence->children) {
            count += countNodes(child);
        }
    } else if (auto* menu = dynamic_cast<DialogMenu*>(node)) {
        for (DialogReply* reply : menu->replies) {
            if (reply->parent != menu) {
                std::abort();
            }
            count += countNodes(reply);
        }
    }
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!acceptFuzzInput(size)) {
        return 0;
    }
    Chapter* chapter = scratchChapter();
    Vars::variables = VariableTable();
    std::map<String, Dialog*> dialogs;
    try {
        vessxml::Document document =
            vessxml::Document::parse(String(reinterpret_cast<const char*>(data), size), "fuzz.dlg");
        int built = DialogManager::loadElements(document.getRoot(), dialogs, chapter);
        int kept = 0;
        for (const auto& [name, node] : dialogs) {
            kept += countNodes(node);
        }
        if (kept > built) {
            std::abort();
        }
    } catch (const vessot::exception&) {
    }
    for (auto& [name, node] : dialogs) {
        delete node;
    }
    return 0;
}
