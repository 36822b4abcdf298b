#pragma once
// The chapter "schminkell7": its creation, and the two scenes with a slab that it registers at each
// load. The slabs are raised, lowered and stood on through the scenes' data; these classes take the
// slab back when the character standing on it walks off, and reset the scene so that its data shows it.

#include "engine/scene/Scene.h"

namespace Schminkell7 {

// Creates the chapter with its registration callback and adds its passages to the route graph.
void createChapter();
// Registers "Storage" and "Saucer".
void registerScenes(Chapter* chapter);

class Storage : public Scene {
public:
    using Scene::Scene;
    void onUpdate(float dt) override;
};

class Saucer : public Scene {
public:
    using Scene::Scene;
    void onUpdate(float dt) override;
};

} // namespace Schminkell7
