#include "chapters/intro/IntroChapter.h"

#include "engine/scene/Chapter.h"

namespace Intro {

void createChapter() {
    // Registered with the GUI library by its name, "intro", which owns it from now on.
    new Chapter("data/chapters/intro/intro_hd.datadef", nullptr);
}

} // namespace Intro
