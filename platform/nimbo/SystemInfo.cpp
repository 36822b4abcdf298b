#include "nimbo/SystemInfo.h"

#include "nimbo/Settings.h"

#include <SDL.h>
#include <cstdlib>

namespace nimbo {

namespace {

// The locale of messages as POSIX decides it: LC_ALL, then LC_MESSAGES, then LANG.
vessot::String systemLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) {
            return value;
        }
    }
    return "";
}

} // namespace

vessot::String normaliseLocale(const vessot::String& locale) {
    // Drop ".UTF-8" and "@modifier"; the region follows "_" or "-".
    vessot::String name = locale.substr(0, std::min(locale.find('.'), locale.find('@')));
    if (name.empty() || name == "C" || name == "POSIX") {
        return "en";
    }
    size_t cut = name.find_first_of("_-");
    vessot::String language = name.substr(0, cut).lowered();
    vessot::String region = cut == vessot::String::npos ? vessot::String() : name.substr(cut + 1).uppered();
    if ((language == "pt" || language == "zh") && !region.empty()) {
        return language + "-" + region;
    }
    return language;
}

SystemInfo getSystemInfo() {
    Settings settings = Settings::fromEnvironment();
    SystemInfo info;
    SDL_DisplayMode mode;
    if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_GetDesktopDisplayMode(0, &mode) == 0) {
        info.displayResolution = {(float)mode.w, (float)mode.h};
    }
    info.locale = normaliseLocale(settings.locale.empty() ? systemLocale() : settings.locale);
    info.ram = settings.ramMb > 0 ? settings.ramMb : SDL_GetSystemRAM();
    return info;
}

} // namespace nimbo
