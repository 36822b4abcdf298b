#include "chapters/Chapters.h"

#include "engine/scene/Chapter.h"
#include "engine/session/GameUtil.h"
#include "script/Action.h"
#include "ui/Menu.h"

#include "nimboui/nimboui.h"

namespace Chapters {

namespace {
// The story chapters in the order they are created; the front end's chapter comes last.
const char* const DEFINITIONS[] = {
    "data/chapters/intro/intro_hd.datadef",
    "data/chapters/ship/ship_hd.datadef",
    "data/chapters/jama_spacea/jama_spacea_hd.datadef",
    "data/chapters/terra_nuova/terra_nuova_hd.datadef",
    "data/chapters/varion/varion_hd.datadef",
};
// The "ui" chapter's named action, or null when it has none of that name. Only the lookup's error is
// taken for "none".
Action* findItemAction(const String& name) {
    auto* ui = dynamic_cast<Chapter*>(nimboui::getDatasetByName("ui"));
    if (!ui) {
        return nullptr;
    }
    try {
        return ui->getNamedAction(name);
    } catch (const nimboui::_GenericException&) {
        return nullptr;
    }
}

bool run(Action* action) {
    if (!action) {
        return false;
    }
    action->execute();
    return true;
}

} // namespace

void createAll() {
    for (const char* path : DEFINITIONS) {
        // Registered with the GUI library by name, which owns it from now on.
        auto* chapter = new Chapter(path, nullptr);
        chapter->sceneFileFilter = GameUtil::isSceneFileForPlatform;
    }
    Menu::createChapter();
}

bool runUseItemAction(const String& item) {
    return run(findItemAction("use:" + item));
}

bool runLookItemAction(const String& item) {
    return run(findItemAction("look:" + item));
}

bool runCombineItemsAction(const String& first, const String& second) {
    Action* action = findItemAction(first + "+" + second);
    return run(action ? action : findItemAction(second + "+" + first));
}

} // namespace Chapters
