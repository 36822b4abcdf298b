#include "engine/session/zephUtil.h"

#include "engine/session/Session.h"

#include "nimbo/InstanceRecord.h"
#include "nimboui/Exception.h"
#include "tulm/System.h"
#include "vessot/File.h"

namespace zephUtil {

String getDirectory(const String& path) {
    size_t slash = path.rfind('/');
    if (slash == String::npos) {
        slash = path.rfind('\\');
    }
    return slash == String::npos ? String() : path.substr(0, slash);
}

void parseColor(const String& text, uint8_t& red, uint8_t& green, uint8_t& blue, uint8_t& alpha) {
    String s = text.startsWith("0x") ? text : "0x" + text;
    auto pair = [&](size_t at) { return (uint8_t)s.substr(at, 2).hexToUInt(); };
    if (s.size() == 8) {
        red = pair(2);
        green = pair(4);
        blue = pair(6);
        alpha = 255;
    } else if (s.size() == 10) {
        alpha = pair(2);
        red = pair(4);
        green = pair(6);
        blue = pair(8);
    } else {
        throw nimboui::_GenericException("Color format must be either 0xAARRGGBB or 0xRRGGBB", "GenericException",
                                         __FILE__, __LINE__);
    }
}

bool parseAreaId(const String& text, uint32_t& id) {
    String digits = text.startsWith("0x") || text.startsWith("0X") ? text.substr(2) : text;
    if (!digits.isHex() || digits.size() > 8) {
        return false;
    }
    id = digits.hexToUInt();
    return true;
}

uint8_t alphaByte(float fraction) {
    float value = fraction * 255.0f;
    return value > 0.0f ? (uint8_t)(value < 255.0f ? value : 255.0f) : 0;
}

String dotString() {
    return ".";
}

namespace {
String userDataPath;
}

String getUserDataPath() {
    if (userDataPath.empty()) {
        // The title names the folder: it must not lead out of the maker's folder.
        String title = Session::getParam("title");
        if (!vessot::DirBase::staysInside(title)) {
            throw vessot::exception(Session::configFileOf("title") + ": the key 'title' ('" + title +
                                        "') must not be an absolute path or hold a '..' segment",
                                    __FILE__, __LINE__);
        }
        userDataPath = tulm::createSystemPath("Quenda Games", title, 5);
    }
    return userDataPath;
}

String leavesFolder(const String& key, const String& name, const String& what) {
    if (vessot::DirBase::staysInside(name)) {
        return "";
    }
    return "'" + key + "' '" + name + "' must name " + what + " (no absolute path, no '..')";
}

bool readPlayerFile(const String& path, String& text) {
    if (!vessot::File::exists(path)) {
        return false;
    }
    try {
        text = vessot::File::hread(path);
        return true;
    } catch (const vessot::exception& e) {
        Session::log("ERROR: " + e.message() + "; the file is left as it is and the game goes on without it");
        return false;
    }
}

bool writePlayerFile(const String& path, const String& content, String* reason) {
    try {
        vessot::writeFileAtomically(path, content);
        return true;
    } catch (const vessot::exception& e) {
        Session::log("ERROR: " + e.message() + "; the old file stays and the game goes on");
        if (reason) {
            *reason = e.message();
        }
        return false;
    }
}

bool windowTitleEquals(unsigned long handle, const String& title) {
    String shown = nimbo::getWindowTitle(handle).substr(0, 511);
    return !shown.empty() && shown == title;
}

} // namespace zephUtil
