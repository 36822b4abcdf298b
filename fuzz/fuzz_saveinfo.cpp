// A save slot's "info.txt" as the save and load menu reads it: any bytes leave the entry blank, or
// give a label whose text key expands and lays out in the menu's fonts without an error, and a
// thumbnail path that stays inside the thumbnails' folder.

#include "FuzzInput.h"
#include "ui/SaveLoadMenu.h"

#include "nimboui/TextKey.h"
#include "runel/FontTtf.h"
#include "runel/Renderer.h"
#include "vessot/Exception.h"
#include "vessot/File.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

// The menu's fonts, from the game's TrueType font (run from the repository).
void setUpFonts() {
    static bool ready = [] {
        runelttf::init();
        runel::init();
        runel::renderer->registerFont(new runelttf::FontTtf("data/ui/fonts/radodid.ttf", "radodid", 20, 0.5f));
        runel::renderer->registerFont(new runelttf::FontTtf("data/ui/fonts/radodid.ttf", "hheaven", 24, 8.0f / 15.0f));
        return true;
    }();
    (void)ready;
}

const String& infoPath() {
    static struct Path {
        String path = "/tmp/fuzz_saveinfo_" + String((int)getpid());
        ~Path() { vessot::File::remove(path); }
    } file;
    return file.path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!acceptFuzzInput(size)) {
        return 0;
    }
    setUpFonts();
    vessot::writeFileAtomically(infoPath(), String(reinterpret_cast<const char*>(data), size));
    SaveLoadMenu::SlotInfo info;
    if (!SaveLoadMenu::readSlotInfo(infoPath(), 2, info)) {
        return 0;
    }
    String thumbnail = SaveLoadMenu::thumbnailPath(info);
    if (!thumbnail.empty() && (!thumbnail.startsWith("data/shots/") || thumbnail.find('/', 11) != String::npos)) {
        std::abort();
    }
    try {
        for (bool wide : {true, false}) {
            String key = SaveLoadMenu::slotLabelKey(info, wide);
            String text = nimboui::expandTextKey(key, [](const String& name) { return "title of " + name; });
            runel::renderer->getLayout("radodid:0.4", text, runel::CENTER_WRAPPED, wide ? 125.0f : 120.0f);
        }
    } catch (const vessot::exception&) {
        std::abort();
    }
    return 0;
}
