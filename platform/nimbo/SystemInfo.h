#pragma once
// What the system reports about itself; ZEPH_LOCALE and ZEPH_RAM_MB override the locale and the
// memory size.

#include "morvec/Vector.h"
#include "vessot/String.h"

namespace nimbo {

struct SystemInfo {
    morvec::Vector2 displayResolution; // of the first display; (0, 0) before nimbo::init
    vessot::String locale;             // see normaliseLocale
    int ram = 0;                       // megabytes
};

SystemInfo getSystemInfo();

// The language code the game chooses by: "de_DE.UTF-8" gives "de"; Portuguese and Chinese keep
// their region ("pt-BR", "pt-PT", "zh-TW"); "C", "POSIX" and "" give "en".
vessot::String normaliseLocale(const vessot::String& locale);

} // namespace nimbo
