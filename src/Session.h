#pragma once
// The session: configuration parameters, the deferred command language and (with the scene switch)
// the globals every part of the engine shares.

#include "vessot/Array.h"
#include "vessot/String.h"

#include <map>

using vessot::String;

using ParamMap = std::map<String, String>;

namespace Session {

extern ParamMap params;

// ---- configuration parameters
// A missing key is created empty and reads "".
String getParam(const String& key);
// Stores the value and applies the entries of the section "[key/value]".
void setParam(const String& key, const String& value);
// Replaces the map's contents with the entries of one configuration file.
void readConfigFile(ParamMap& map, const String& path, bool fromResources);
// Parses configuration text (sections, comments, "key: value" entries) into the map.
void parseConfigText(ParamMap& map, const String& text);
// Writes the user keys (those marked by "cfg." entries of the parameters) with their values in map.
void saveUserConfig(const ParamMap& map, const String& path);
// "cfg/zeph.cfg", its conditional sections, the log file and the user's own "zeph.cfg".
void loadConfig();

} // namespace Session
