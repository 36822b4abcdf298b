#include "chapters/terra_nuova/Terra_nuovaHints.h"

namespace Terra_nuova {

vessot::String getSmartHint() {
    return "";
}

} // namespace Terra_nuova
