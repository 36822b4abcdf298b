#include "chapters/Chapters.h"

#include "chapters/intro/IntroChapter.h"
#include "chapters/jama_spacea/Jama_spaceaChapter.h"
#include "chapters/jama_spacea/Jama_spaceaHints.h"
#include "chapters/schminkell7/Schminkell7Chapter.h"
#include "chapters/schminkell7/Schminkell7Hints.h"
#include "chapters/ship/ShipChapter.h"
#include "chapters/ship/ShipHints.h"
#include "chapters/terra_nuova/Terra_nuovaChapter.h"
#include "chapters/terra_nuova/Terra_nuovaHints.h"
#include "chapters/varion/VarionChapter.h"
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
// The chapters' loaders, in the order the game creates them, with the names they create.
const std::pair<void (*)(), const char*> LOADERS[] = {
    {Intro::createChapter, "intro"},
    {Ship::createChapter, "ship"},
    {Jama_spacea::createChapter, "jama_spacea"},
    {Terra_nuova::createChapter, "terra_nuova"},
    {Schminkell7::createChapter, "schminkell7"},
    {Varion::createChapter, "varion"},
    {Menu::createChapter, "menu"},
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
    for (const auto& [load, name] : LOADERS) {
        load();
    }
    // Each chapter parses the scene files of the interface in use.
    for (const auto& [load, name] : LOADERS) {
        Session::getChapter(name)->sceneFileFilter = GameUtil::isSceneFileForPlatform;
    }
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
