#include "chapters/Chapters.h"

#include "chapters/jama_spacea/Jama_spaceaHints.h"
#include "chapters/schminkell7/Schminkell7Hints.h"
#include "chapters/ship/ShipHints.h"
#include "chapters/terra_nuova/Terra_nuovaHints.h"
#include "chapters/varion/VarionHints.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "script/Action.h"
#include "ui/Menu.h"
#include "ui/SceneRoutes.h"

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

// Names the request's chapter in the route registry while a solver runs, and forgets it however the
// solver ends.
struct RequestChapter {
    explicit RequestChapter(const vessot::String& chapter) { SceneRoutes::chapterPrefix = chapter; }
    ~RequestChapter() { SceneRoutes::chapterPrefix = ""; }
    RequestChapter(const RequestChapter&) = delete;
    RequestChapter& operator=(const RequestChapter&) = delete;
};

vessot::String solve(const vessot::String& chapter, const vessot::String& scene) {
    if (chapter == "ship") {
        return Ship::getSmartHint(scene);
    }
    if (chapter == "jama_spacea") {
        return Jama_spacea::getSmartHint(scene);
    }
    if (chapter == "terra_nuova") {
        return Terra_nuova::getSmartHint();
    }
    if (chapter == "schminkell7") {
        return Schminkell7::getSmartHint();
    }
    if (chapter == "varion") {
        return Varion::getSmartHint(scene);
    }
    return "";
}

} // namespace

void createAll() {
    for (const char* path : DEFINITIONS) {
        // Registered with the GUI library by name, which owns it from now on.
        auto* chapter = new Chapter(path, nullptr);
        chapter->sceneFileFilter = GameUtil::isSceneFileForPlatform;
    }
    Menu::createChapter();
    Ship::buildHintGraph();
    Jama_spacea::buildHintGraph();
    Schminkell7::buildHintGraph();
    Varion::buildHintGraph();
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

vessot::String getSmartHint() {
    if (!Session::activeScene) {
        return "";
    }
    vessot::String chapter;
    vessot::String scene;
    if (!Session::activeScene->getFullName().split(".", chapter, scene)) {
        return "";
    }
    RequestChapter request(chapter);
    return solve(chapter, scene);
}

} // namespace Chapters
