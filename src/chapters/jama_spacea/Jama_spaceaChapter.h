#pragma once
// The chapter "jama_spacea": its creation, and the safe puzzle it registers at each load.

#include "engine/scene/Scene.h"

namespace Jama_spacea {

// Creates the chapter with its registration callback and adds its passages to the route graph.
void createChapter();
// Registers "Safe" and the user callback "OnSafeSkip".
void registerScenes(Chapter* chapter);

// The safe's four knobs; its skip button fills while it is on screen.
class Safe : public Scene {
public:
    using Scene::Scene;
    void onEnter() override;
    void onUpdate(float dt) override;
};

// Seconds the safe has been on screen since it was entered from another scene; outlives reloads.
extern float safeSkipTimer;
// The safe's skip button's "Click" and the callback "OnSafeSkip".
void onSafeSkip(void* unused);

} // namespace Jama_spacea
