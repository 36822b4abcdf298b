// Action elements of scene files: every child of the input's root element is made by the action
// factory, cloned, and the clone run (after its prototype is gone) against a scratch variable store
// and inventory, with no active scene. Every outcome is an action or one of the engine's exceptions.

#include "FuzzInput.h"
#include "engine/scene/Chapter.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/Action.h"
#include "script/Inventory.h"

#include "echon/AudioManager.h"
#include "vessot/Exception.h"
#include "vessxml/Xml.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

// The chapter the actions belong to: never loaded, so it holds no texts, objects or named actions.
Chapter* scratchChapter() {
    static Chapter* chapter = [] {
        echon::init("Offline");
        echon::mgr->createCategory("fx", echon::BUFFER_FULL, echon::SOURCE_RESOURCE);
        return new Chapter("fuzz/scratch/scratch_hd.datadef", nullptr);
    }();
    return chapter;
}

void resetStore() {
    Vars::variables = VariableTable();
    const char* const values[][2] = {{"a", ""},     {"count", "3"}, {"items", ""},
                                     {"note", "x"}, {"door", "1"},  {"current_character", "vorne"}};
    for (const auto& [name, value] : values) {
        Variable* variable = Vars::getOrCreate(name);
        variable->name = name;
        variable->value = value;
    }
    Vars::get("items")->addListener(Inventory::onItemsChanged);
    Inventory::items.clear();
    Inventory::selectedItem = "";
    Session::commandQueue.clear();
    Session::sceneLocked = false;
}

void makeAndRun(vessxml::Node* element, Chapter* owner) {
    std::unique_ptr<Action> clone;
    try {
        std::unique_ptr<Action> prototype(Action::createFromXml(element, owner));
        clone.reset(prototype->clone());
    } catch (const vessot::exception&) {
        return;
    }
    try {
        clone->execute();
    } catch (const vessot::exception&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!acceptFuzzInput(size)) {
        return 0;
    }
    Chapter* owner = scratchChapter();
    resetStore();
    try {
        vessxml::Document document =
            vessxml::Document::parse(String(reinterpret_cast<const char*>(data), size), "fuzz.scene");
        for (vessxml::Node* element : document->children()) {
            makeAndRun(element, owner);
        }
    } catch (const vessot::exception&) {
    }
    Session::commandQueue.clear();
    return 0;
}
