#pragma once
// A characters chapter of its own in a temporary folder: the character "hero" with stand frames in
// four directions, an eight-frame walk to the east and the south, a wave drawn per direction (east
// only) and a jump drawn once, "old_pal" who only stands or crouches, and "pal" and "dummy" without
// frames; and a chapter "room" whose scene shows them
// through references.

#include "engine/ChapterFixture.h"
#include "script/Character2D.h"
#include "script/Character2DRef.h"

#include <string>
#include <vector>

class CharacterFixture : public ChapterFixture {
protected:
    void SetUp() override {
        ChapterFixture::SetUp();
        define("hero_scene", "");
        define("hero_pos", "");
        define("items", "");
        std::vector<std::string> images;
        for (const char* direction : {"N", "E", "S", "W"}) {
            images.push_back(std::string("hero/Stand_") + direction + ".01");
        }
        images.push_back("hero/Crouch_E.01");
        images.push_back("old_pal/Stand_S.01");
        images.push_back("old_pal/Crouch_S.01");
        for (int i = 1; i <= 8; ++i) {
            std::string n = (i < 10 ? "0" : "") + std::to_string(i);
            for (const char* animation : {"Walk_E.", "Walk_S.", "Wave_E."}) {
                images.push_back("hero/" + std::string(animation) + n);
            }
            images.push_back("hero/Jump." + n);
        }
        definition("characters", images, R"(
<Object type="Character2DDef" name="hero" w="20" h="60" chr="hero" yfactor="0.9" speed="40">
    <Property name="Animation:Walk" value="8,1"/>
    <Property name="Animation:Wave" value="8,1.6"/>
    <Property name="Animation:Jump" value="8,0.5"/>
    <Property name="Animation:Empty" value="0,1"/>
</Object>
<Object type="Character2DDef" name="pal" w="20" h="50" chr="pal"/>
<Object type="Character2DDef" name="dummy" chr="dummy"/>
<Object type="Character2DDef" name="old_pal" chr="old_pal"/>)");
        characters = chapter("characters");
        characters->load();
        charactersChapter = characters;
        hero = dynamic_cast<Character2D*>(characters->getObject("hero"));
    }

    // The scene "Room" of a chapter (the given one, or "room") with the given objects, made active.
    Scene* room(const std::string& objects, const std::string& properties = "", const std::string& name = "room") {
        definition(name, {"Room"});
        scene(name, "Room.scene", "<Scene name=\"Room\" " + properties + ">\n" + objects + "\n</Scene>");
        map(name, "Room", {});
        Chapter* chapter = this->chapter(name);
        chapter->load();
        Scene* scene = chapter->getScene("Room");
        Session::activeScene = scene;
        return scene;
    }

    // The image the hero shows, without the chapter's prefix.
    std::string shown() const { return hero->getImageName(); }

    Chapter* characters = nullptr;
    Character2D* hero = nullptr;
};
