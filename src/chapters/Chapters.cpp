#include "chapters/Chapters.h"

#include "engine/scene/Chapter.h"
#include "engine/session/GameUtil.h"

namespace Chapters {

namespace {
const char* const DEFINITIONS[] = {
    "data/chapters/menu/menu_hd.datadef",
    "data/chapters/ship/ship_hd.datadef",
    "data/chapters/jama_spacea/jama_spacea_hd.datadef",
};
} // namespace

void createAll() {
    for (const char* path : DEFINITIONS) {
        // Registered with the GUI library by name, which owns it from now on.
        auto* chapter = new Chapter(path, nullptr);
        chapter->sceneFileFilter = GameUtil::isSceneFileForPlatform;
    }
}

} // namespace Chapters
