#pragma once
// The game object: the framework's init and destroy callbacks, the fatal error report, the game
// services of start-up (fonts, the loading picture, variable listeners), the frame and the input
// handlers.

#include "morvec/Rectangle.h"
#include "morvec/Vector.h"
#include "vessot/Array.h"
#include "vessot/Exception.h"
#include "vessot/String.h"

#include <functional>
#include <vector>

using vessot::String;

class Variable;

namespace nimbo {
class Texture;
}

namespace Game {

// ---- start and end
void initGame(const vessot::Array<String>& args);
void startGame();
void destroyGame();
void chooseLocale();
// Logs the exception, shows the error box and ends the process with exit code 1.
[[noreturn]] void reportFatalException(const vessot::exception& exception);
// Ends the process at once, without destroying anything (handlers registered with
// std::at_quick_exit run). Tests replace the exit with a hook of their own, which must not return: it
// throws an ExitRequest, which the guards pass on untouched.
[[noreturn]] void exitProcess(int code);
void setExitHook(std::function<void(int)> hook);
struct ExitRequest {
    int code;
};
// Runs a callback body the way every framework callback does: with a deferred-destruction scope,
// and with every exception ending in the fatal error report.
void guarded(const std::function<void()>& body);

// ---- game services
void setPlatformTarget(bool touch);
void setupFonts();
// Loads the loading picture when "loading_screen" is on and none is loaded.
void ensureLoadingScreen(const String& chapterName = "");
void drawLoadingScreen(float alpha);
// Frees the loading picture.
void releaseLoadingScreen();
void onHintVariableChanged(Variable* variable, const String& newValue, const String& oldValue);
void onTextModeExceptionChanged(Variable* variable, const String& newValue, const String& oldValue);
String getLocalizationVar();
String getSmartHintButtonVisibleVar();
String getShouldShowFirstTimeProfileVar();
String expandGuiMacro(const String& name);

// ---- interface set-up
void setupUserInterface();

} // namespace Game

extern nimbo::Texture* loadingScreenTexture;
// The loading picture's fade: -1 when idle, 1 after a chapter was loaded, counting down.
extern float loadingScreenFade;
extern morvec::Rectangle loadingScreenRect;
// The opacity at which the loading picture was last drawn; input waits while it is above 0.4.
extern float loadingScreenAlpha;
