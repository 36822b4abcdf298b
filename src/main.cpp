// The process entry.
#include "vessot/Log.h"

int main(int, char**) {
    vessot::Log::write("game", "Vestrel Vorne: the window layer is not built yet");
    return 0;
}
