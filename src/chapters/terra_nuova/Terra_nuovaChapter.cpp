#include "chapters/terra_nuova/Terra_nuovaChapter.h"

#include "engine/scene/Chapter.h"

namespace Terra_nuova {

void createChapter() {
    // Registered with the GUI library by its name, "terra_nuova", which owns it from now on.
    new Chapter("data/chapters/terra_nuova/terra_nuova_hd.datadef", nullptr);
}

} // namespace Terra_nuova
