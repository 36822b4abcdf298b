#include "chapters/Chapters.h"

#include "engine/scene/Chapter.h"
#include "engine/session/GameUtil.h"
#include "ui/Menu.h"

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
} // namespace

void createAll() {
    for (const char* path : DEFINITIONS) {
        // Registered with the GUI library by name, which owns it from now on.
        auto* chapter = new Chapter(path, nullptr);
        chapter->sceneFileFilter = GameUtil::isSceneFileForPlatform;
    }
    Menu::createChapter();
}

} // namespace Chapters
