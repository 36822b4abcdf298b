#pragma once
// The chapter "ship": its creation, the scene classes and callback it registers at each load, the
// router puzzle and the cockpit that points at the hint button during the guided hint tutorial.

#include "engine/scene/Scene.h"

namespace Ship {

// Creates the chapter with its registration callback and adds its passages to the route graph.
void createChapter();
// Registers "Router" and "Cockpit" and the user callback "OnRouterSkip".
void registerScenes(Chapter* chapter);

// The router's four coloured settings; its skip button fills while it is on screen.
class Router : public Scene {
public:
    using Scene::Scene;
    void onEnter() override;
    void onUpdate(float dt) override;
};

// At the guided hint tutorial's step 41 the guide arrow points at the hint button.
class Cockpit : public Scene {
public:
    using Scene::Scene;
    void onUpdate(float dt) override;
};

// Seconds the router has been on screen since it was entered from another scene; outlives reloads.
extern float routerSkipTimer;
// The router's skip button's "Click" and the callback "OnRouterSkip".
void onRouterSkip(void* unused);

} // namespace Ship
