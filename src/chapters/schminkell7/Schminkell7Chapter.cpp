#include "chapters/schminkell7/Schminkell7Chapter.h"

#include "chapters/schminkell7/Schminkell7Hints.h"
#include "engine/scene/Chapter.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/Character2D.h"

namespace Schminkell7 {

namespace {

bool isSet(const char* variable) {
    return Vars::value(variable).toBool();
}

void set(const char* variable, const char* value) {
    Vars::get(variable)->setValue(value, false);
}

// Luna or Danny, when the current character is one of them.
String slabCharacter() {
    String current = Vars::value("current_character");
    return current == "luna" || current == "danny" ? current : String();
}

// The character's current job is a walk.
bool isWalking(const String& name) {
    auto* character = dynamic_cast<Character2D*>(charactersChapter->getObject(name));
    return character && character->getJobQueueSize() >= 1 && character->getCurrentJobType() == "Move";
}

void resetActiveScene() {
    if (Session::activeScene) {
        Session::activeScene->reset();
    }
}

} // namespace

void createChapter() {
    // Registered with the GUI library by its name, "schminkell7", which owns it from now on.
    new Chapter("data/chapters/schminkell7/schminkell7_hd.datadef", registerScenes);
    buildHintGraph();
}

void registerScenes(Chapter* chapter) {
    chapter->registerScene("Storage", new Storage(chapter, "Storage"));
    chapter->registerScene("Saucer", new Saucer(chapter, "Saucer"));
}

void Storage::onUpdate(float) {
    if (Vars::value("slab_on") != "1") {
        return;
    }
    String character = slabCharacter();
    if (character.empty() || !isWalking(character)) {
        return;
    }
    const char* standing = character == "danny" ? "danny_is_on_storage_slab" : "luna_is_on_storage_slab";
    if (isSet(standing)) {
        set("slab_on", "0");
        set(standing, "0");
        set("moon_off", "1");
    }
    resetActiveScene();
}

void Saucer::onUpdate(float) {
    if (Vars::value("ion_shape_in") == "0" && Vars::value("ion_shape_off") == "1" &&
        Vars::value("saucer_slab_max_down") == "1") {
        set("saucer_slab_max_down", "0");
    }
    if (Vars::value("saucer_slab_max_down") != "1" || Vars::value("rowboat_on_saucer_slab") != "0") {
        return;
    }
    String character = slabCharacter();
    if (character.empty() || !isWalking(character)) {
        return;
    }
    // Luna takes the slab up whether she stood on it or only walked while it was down; Danny only
    // when he stood on it.
    bool takeBack = character == "luna" ? isSet("luna_on_saucer_slab") || isSet("saucer_slab_max_down")
                                        : isSet("danny_on_saucer_slab");
    if (takeBack) {
        set(character == "luna" ? "luna_on_saucer_slab" : "danny_on_saucer_slab", "0");
        set("saucer_slab_max_down", "0");
        set("mountain_off", "1");
    }
    resetActiveScene();
}

} // namespace Schminkell7
