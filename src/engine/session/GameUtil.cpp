#include "engine/session/GameUtil.h"

#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/zephUtil.h"

#include "nimboui/nimboui.h"
#include "vessot/Log.h"

namespace GameUtil {

namespace {
const char* const STORY_CHAPTERS[] = {"menu", "ship", "jama_spacea", "varion", "schminkell7", "terra_nuova", "intro"};
const char BOM[] = "\xEF\xBB\xBF";
} // namespace

String getActiveSceneName() {
    return Session::activeScene ? Session::activeScene->getName() : String();
}

String getActiveChapterName() {
    return Session::activeScene ? Session::activeScene->chapter->getName() : String();
}

String getMoreGamesUrl() {
    return "https://vestrel-vorne.example/games";
}

bool isTesterMode() {
    static String lastProfile = "-----------------------------------------";
    static bool testerMode = false;
    String profile = Session::getParam("profile");
    if (profile != lastProfile) {
        String content = readTextFile(zephUtil::getUserDataPath() + profile + "/username.txt");
        testerMode = content == "q8vmwx" || content == "tobrelunka";
        lastProfile = profile;
    }
    return testerMode;
}

void logMessage(const String& text) {
    vessot::Log::write("vorne", text);
}

String readTextFile(const String& path) {
    String text;
    if (!zephUtil::readPlayerFile(path, text)) {
        return "error";
    }
    // A file written elsewhere may lack the mark: then its first bytes are text.
    return text.startsWith(BOM) ? text.substr(sizeof BOM - 1) : text;
}

bool writeTextFile(const String& text, const String& path) {
    return zephUtil::writePlayerFile(path, BOM + text);
}

bool isSceneFileForPlatform(const String& fileName) {
    static const bool mobileUi = Session::getParam("ui") == "mobile";
    return !fileName.endsWith(mobileUi ? ".pc.scene" : ".mobile.scene");
}

void unloadAllChapters() {
    String unloaded;
    Chapter* active = Session::activeScene ? Session::activeScene->chapter : nullptr;
    for (const char* name : STORY_CHAPTERS) {
        auto* chapter = dynamic_cast<Chapter*>(nimboui::getDatasetByName(name));
        if (chapter && chapter->isLoaded() && chapter != active) {
            chapter->unload();
            unloaded += String(name) + " ";
        }
    }
    logMessage("unloadAllChapters unloaded: " + (unloaded.empty() ? String("nothing") : unloaded));
}

String withoutTagBrackets(const String& text) {
    String plain;
    for (char c : text) {
        if (c != '[' && c != ']') {
            plain += c;
        }
    }
    return plain;
}

} // namespace GameUtil
