#pragma once
// The session: configuration parameters, the deferred command language, the active scene and the
// scene switch, and the scene lock.

#include "vessot/Array.h"
#include "vessot/String.h"

#include <map>

using vessot::String;

using ParamMap = std::map<String, String>;

class ActionMap;
class Chapter;
class Scene;
class TransitionManager;

namespace Session {

extern ParamMap params;
extern Scene* activeScene;
// The scene active before the switch in progress; null once its chapter is unloaded.
extern Scene* previousScene;
extern TransitionManager* activeTransition;
// The transitions by effect name: "" immediate, "fade", "zoom" and "crossfade".
extern std::map<String, TransitionManager*> transitions;
extern bool sceneLocked;
extern vessot::Array<String> commandQueue;
// The hotspot map without areas that "SetActionMap None" puts in place.
extern ActionMap* dummyActionMap;

// ---- configuration parameters
// A missing key is created empty and reads "".
String getParam(const String& key);
// Stores the value as the key's own and applies the entries of the section "[key/value]"; the keys
// that the parameter's other sections set return to what they would be without them.
void setParam(const String& key, const String& value);
// Replaces the map's contents with the entries of one configuration file.
void readConfigFile(ParamMap& map, const String& path, bool fromResources);
// Parses configuration text (sections, comments, "key: value" entries) into the map.
void parseConfigText(ParamMap& map, const String& text);
// The user file's text: the user keys (those marked by "cfg." entries of the parameters) with their
// values in map; a value that a conditional section applied is replaced by the player's own.
String userConfigText(const ParamMap& map);
// Writes userConfigText atomically; a failed write is logged and answers false.
bool saveUserConfig(const ParamMap& map, const String& path);
// "cfg/zeph.cfg", the user's own "zeph.cfg" over it, then the conditional sections of the current
// values; a profile that would leave the user folder counts as "". The first start writes the user
// file.
void loadConfig();
// The file a parameter's value came from, for messages: the user's "zeph.cfg" or "cfg/zeph.cfg".
String configFileOf(const String& key);

// ---- the command language
// Runs one or more commands joined by ";" now.
void executeCommand(const String& commands);
// Queues a command for the end of the session's update.
void queueCommand(const String& command);
// Runs the queued commands in order, with those they queue; at most 1,000 in one drain.
void drainCommandQueue();
void log(const String& text);
// The display time of a speech text: its "<p" pause markers, or 7 s x the text speed.
float getTextPauseTime(const String& text);
// True when the condition evaluates to "1"; the empty condition is true.
bool checkCondition(const String& condition);

// ---- scenes
// Starts the named transition to the target ("chapter.Scene", or a scene of the active chapter).
// Dropped while a transition runs.
void switchScene(const String& target, const String& effect, const String& ignored, float duration);
// One sub-step: the scene with step, the transition with realStep, the audio, the loading
// picture's fade, the command queue.
void update(float step, float realStep);
// The chapter of that name; throws when there is none.
Chapter* getChapter(const String& name);
void lockScene();
void unlockScene();
// The loading picture's fade: counts down with the real step and frees the picture at its end.
void updateLoadingScreenFade(float realStep);
// Advances the running transition, if any, and clears it at its end.
void updateTransition(float realStep);

// ---- engine start and end
void createWindow();
void init();
void applyVolumes();
void destroy();

} // namespace Session
