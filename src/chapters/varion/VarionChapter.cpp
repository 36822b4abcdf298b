#include "chapters/varion/VarionChapter.h"

#include "chapters/varion/VarionHints.h"
#include "engine/scene/Chapter.h"

namespace Varion {

void createChapter() {
    // Registered with the GUI library by its name, "varion", which owns it from now on.
    new Chapter("data/chapters/varion/varion_hd.datadef", nullptr);
    buildHintGraph();
}

} // namespace Varion
