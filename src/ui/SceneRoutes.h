#pragma once
// The hint route graph: one directed link per passage between two scenes, named by the exit's area
// colour in the scene it leaves, filled once at start-up by each chapter's route builder; and the
// search for the first exit of the shortest way from the active scene to another one.

#include "vessot/String.h"

#include <map>
#include <vector>

using vessot::String;

struct RouteLink {
    // Full scene names ("ship.Kitchen") and the exit's area colour ("0000FF"); all empty: no route.
    String from;
    String to;
    String exit;
};

namespace SceneRoutes {

// The chapter whose route builder runs; "" otherwise.
extern String chapterPrefix;
// The links leaving each scene, in the order they were added.
extern std::map<String, std::vector<RouteLink>> links;

// Appends the link under its (qualified) from-scene; a link added twice is kept twice.
void addLink(const String& from, const String& to, const String& exit);
// The first link to take from the active scene toward the target (a short or full scene name); the
// empty link without a route, without an active scene, or when the target is the active scene.
RouteLink findRoute(const String& target);
// A name holding "." as it stands; else prefixed by the builder's chapter, or by the active
// scene's chapter; else unchanged.
String qualifyName(const String& name);
// The shortest route from current to target as full names joined by ","; path holds the scenes
// already on the way. "" when there is none. Visits every simple path; of equal routes the one
// through the earlier-added link wins. A scene without links of its own is never reached.
String searchPath(const String& target, const String& current, const String& path);

} // namespace SceneRoutes

namespace Hints {

// The hint of one route step: the link's exit followed by ",0" (it leaves the hint charge alone);
// "" for the empty link.
String formatRouteStep(const RouteLink& link);

} // namespace Hints
