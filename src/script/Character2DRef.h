#pragma once
// A scene's reference to a character of the characters chapter: it places the character when the
// scene attaches it, follows it every frame and draws it at the scene's depth. Made from scene-file
// objects of type "Character2D".

#include "morvec/Rectangle.h"
#include "morvec/Vector.h"
#include "nimbo/Color.h"
#include "nimboui/Object.h"

#include <vector>

using vessot::String;

class Character2D;

struct CharacterPlacement {
    // "" places unconditionally.
    String condition;
    morvec::Vector3 position;
    String direction;
};

class Character2DRef : public nimboui::Object {
public:
    Character2DRef(const String& name, const morvec::Rectangle& rect);

    // "position_if:CONDITION" and "position" ("x,y,direction") add placements in order; "direction",
    // "height", "speed", "walk_ani_factor", "chr"; else the object's properties. A placement without
    // all three parts is an error.
    bool setProperty(const String& name, const String& value) override;
    // "AttachToObject" places the character for the scene first.
    void notifyEvent(const String& event, void* params) override;
    // Follows the character's position.
    void update(float dt) override;
    // Where and with which tint the character's frame is drawn, at the parent's position; false when
    // nothing is drawn.
    bool placeFrame(morvec::Rectangle& dest, nimbo::Color& tint);
    void OnDraw(const morvec::Vector2& offset) override;

    // The character "characters." + chr; throws when the characters chapter has none.
    Character2D* getCharacter();
    const String& getCharacterName() const { return chr; }
    const std::vector<CharacterPlacement>& getPlacements() const { return placements; }
    // The drawing height: 64 for "dummy", else the own height (or the character's box height) less
    // the scene's depth at the reference's y.
    float getHeight();

private:
    void attach();
    void addPlacement(const String& condition, const String& value);

    std::vector<CharacterPlacement> placements;
    String chr;
    String direction = "S";
    float height = 0.0f;
    float speed = 0.0f;
    float walk_ani_factor = 1.0f;
};
