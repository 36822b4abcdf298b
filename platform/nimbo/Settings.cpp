#include "nimbo/Settings.h"

#include "vessot/Exception.h"

#include <cstdlib>

namespace nimbo {

namespace {

vessot::String variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

[[noreturn]] void badValue(const char* name, const vessot::String& value, const char* expected) {
    VESSOT_THROW(vessot::String(name) + " must be " + expected + ", not '" + value + "'");
}

int positiveInt(const char* name) {
    vessot::String value = variable(name);
    if (value.empty()) {
        return 0;
    }
    if (!value.isNumber() || value.toInt() <= 0 || value.contains(".")) {
        badValue(name, value, "a positive whole number");
    }
    return value.toInt();
}

} // namespace

bool Settings::isHeadless() {
    return variable("ZEPH_HEADLESS").toBool();
}

Settings Settings::fromEnvironment() {
    Settings s;
    s.headless = isHeadless();
    vessot::String step = variable("ZEPH_FIXED_STEP");
    if (!step.empty()) {
        if (!step.isNumber() || step.toFloat() <= 0) {
            badValue("ZEPH_FIXED_STEP", step, "a positive number of seconds");
        }
        s.fixedStep = step.toFloat();
    } else if (s.headless) {
        s.fixedStep = 1.0f / 60.0f;
    }
    if (!variable("ZEPH_FRAMES").empty()) {
        s.frameLimit = positiveInt("ZEPH_FRAMES");
    }
    s.inputScript = variable("ZEPH_INPUT");
    s.screenshot = variable("ZEPH_SCREENSHOT");
    vessot::String window = variable("ZEPH_WINDOW");
    if (!window.empty()) {
        vessot::String w, h;
        if (!window.split("x", w, h) || !w.isNumber() || !h.isNumber() || w.toInt() <= 0 || h.toInt() <= 0) {
            badValue("ZEPH_WINDOW", window, "WIDTHxHEIGHT");
        }
        s.windowWidth = w.toInt();
        s.windowHeight = h.toInt();
    }
    vessot::String mode = variable("ZEPH_INPUT_MODE");
    if (mode == "touch") {
        s.inputMode = 1;
    } else if (mode == "mouse") {
        s.inputMode = 2;
    } else if (!mode.empty()) {
        badValue("ZEPH_INPUT_MODE", mode, "'mouse' or 'touch'");
    }
    s.ramMb = positiveInt("ZEPH_RAM_MB");
    s.locale = variable("ZEPH_LOCALE");
    return s;
}

} // namespace nimbo
