#pragma once
// Scripted input (ZEPH_INPUT): one event a line, "FRAME command arguments", in window pixels.
//   FRAME click X Y          button 1 pressed and released at X Y (a press elsewhere moves first)
//   FRAME down X Y BUTTON    FRAME up X Y BUTTON    FRAME move X Y
//   FRAME key CODE           key down, then key up
//   FRAME text UTF8          the rest of the line, typed
//   FRAME touch [X Y ...]    the fingers down from now on; no points lifts every finger
//   FRAME screenshot FILE    a PNG of that frame
//   FRAME quit               a close request of the window
// Frames count from 0. Blank lines and lines starting with "#" are skipped.

#include "nimbo/InputEvent.h"
#include "vessot/String.h"

#include <vector>

namespace nimbo {

struct InputScript {
    struct Entry {
        int frame;
        InputEvent event;
    };
    struct Screenshot {
        int frame;
        vessot::String path;
    };

    std::vector<Entry> events;
    std::vector<Screenshot> screenshots;

    // Reads the file at the path as given. A missing file or a line that cannot be read throws
    // vessot::exception naming the file (and the line).
    static InputScript load(const vessot::String& path);
    // name is the file's name for messages.
    static InputScript parse(const vessot::String& text, const vessot::String& name);
};

} // namespace nimbo
