#include "ui/SceneRoutes.h"

#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"

#include "vessot/Array.h"
#include "vessot/Format.h"

namespace SceneRoutes {

String chapterPrefix;
std::map<String, std::vector<RouteLink>> links;

namespace {

bool pathHolds(const String& path, const String& scene) {
    // The cheap text test first; only a possible hit is split into entries.
    if (!path.contains(scene)) {
        return false;
    }
    for (const String& entry : path.split(",")) {
        if (entry == scene) {
            return true;
        }
    }
    return false;
}

} // namespace

String qualifyName(const String& name) {
    if (name.contains(".")) {
        return name;
    }
    if (!chapterPrefix.empty()) {
        return chapterPrefix + "." + name;
    }
    if (Session::activeScene) {
        return Session::activeScene->chapter->getName() + "." + name;
    }
    return name;
}

void addLink(const String& from, const String& to, const String& exit) {
    String key = qualifyName(from);
    links[key].push_back(RouteLink{key, qualifyName(to), exit});
}

String searchPath(const String& target, const String& current, const String& path) {
    if (pathHolds(path, current)) {
        return "";
    }
    auto found = links.find(current);
    if (found == links.end()) {
        return "";
    }
    String way = path.empty() ? current : path + "," + current;
    if (current == target) {
        return way;
    }
    String best;
    int bestCount = 100000;
    for (const RouteLink& link : found->second) {
        String route = searchPath(target, link.to, way);
        if (route.empty()) {
            continue;
        }
        int count = (int)route.split(",").size();
        if (count < bestCount) {
            best = route;
            bestCount = count;
        }
    }
    return best;
}

RouteLink findRoute(const String& target) {
    if (!Session::activeScene) {
        return {};
    }
    String from = Session::activeScene->getFullName();
    String route = searchPath(qualifyName(target), from, "");
    if (!route.contains(",")) {
        return {};
    }
    String next = route.split(",")[1];
    for (const RouteLink& link : links[from]) {
        if (link.to == next) {
            return link;
        }
    }
    return {};
}

} // namespace SceneRoutes

namespace Hints {

String formatRouteStep(const RouteLink& link) {
    if (link.to.empty()) {
        return "";
    }
    return vessot::jsprintf("%s,0", link.exit);
}

} // namespace Hints
