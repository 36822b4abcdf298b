#include "nimbo/Settings.h"

#include "vessot/Exception.h"

#include <climits>
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

// A whole number from 1 to max, written as one ("2.0" and "1e3" are not).
bool readWhole(const vessot::String& value, int max, int& out) {
    if (!value.isNumber() || value.contains(".") || value.toDouble() < 1 || value.toDouble() > max) {
        return false;
    }
    out = value.toInt();
    return true;
}

int positiveInt(const char* name) {
    vessot::String value = variable(name);
    int out = 0;
    if (!value.empty() && !readWhole(value, INT_MAX, out)) {
        badValue(name, value, "a whole number from 1 to 2147483647");
    }
    return out;
}

constexpr int MAX_WINDOW_SIDE = 16384;

} // namespace

bool Settings::isHeadless() {
    return variable("ZEPH_HEADLESS").toBool();
}

Settings Settings::fromEnvironment() {
    Settings s;
    s.headless = isHeadless();
    vessot::String step = variable("ZEPH_FIXED_STEP");
    if (!step.empty()) {
        if (!step.isNumber() || step.toDouble() <= 0 || step.toDouble() > 1) {
            badValue("ZEPH_FIXED_STEP", step, "a number of seconds above 0 and at most 1");
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
        if (!window.split("x", w, h) || !readWhole(w, MAX_WINDOW_SIDE, s.windowWidth) ||
            !readWhole(h, MAX_WINDOW_SIDE, s.windowHeight)) {
            badValue("ZEPH_WINDOW", window, "WIDTHxHEIGHT, each a whole number from 1 to 16384");
        }
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
