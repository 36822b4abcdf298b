#include "chapters/terra_nuova/Terra_nuovaHints.h"

namespace Terra_nuova {

// The station's airlock leads on.
vessot::String getSmartHint() {
    return "FF0000";
}

} // namespace Terra_nuova
