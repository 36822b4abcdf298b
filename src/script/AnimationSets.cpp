// The characters chapter and the animations derived from its frames when it loads: played
// backwards, copied under another name, mirrored sideways.
#include "engine/scene/Chapter.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/Character2D.h"
#include "script/Characters.h"

#include "nimboui/CompositeImage.h"
#include "vessot/Format.h"

namespace Characters {

namespace {

const char* const DIRECTIONS[] = {"_N", "_NE", "_E", "_SE", "_S", "_SW", "_W", "_NW"};

enum class Derivation { Reverse, Copy, Mirror };

struct DerivationRow {
    Derivation kind;
    const char* source;
    const char* target;
    // The reverse's frame count or the mirror's x offset.
    float amount;
};

// In this order: later rows use frames that earlier ones made.
const DerivationRow DERIVATIONS[] = {
    {Derivation::Reverse, "wrag/DrawGun", "wrag/DrawGunBack", 8},
    {Derivation::Reverse, "vorne/Draw_Gun", "vorne/Draw_Gun_Back", 10},
    {Derivation::Reverse, "she/Teleport_Out", "she/Teleport_In", 8},
    {Derivation::Reverse, "she/DrawGun", "she/DrawGunBack", 7},
    {Derivation::Reverse, "kralek_she/Teleport", "kralek_she/Teleport_In", 12},
    {Derivation::Reverse, "vorne/Take", "vorne/TakeBack", 5},
    {Derivation::Reverse, "danny/Take", "danny/TakeBack", 9},
    {Derivation::Copy, "kralek/Walk_SE", "kralek/Walk_S", 0},
    {Derivation::Mirror, "kralek/Walk_W", "kralek/Walk_E", 0},
    {Derivation::Mirror, "kralek/Walk_SE", "kralek/Walk_SW", 0},
    {Derivation::Mirror, "kralek/Walk_NW", "kralek/Walk_NE", 0},
    {Derivation::Mirror, "kralek/Talk_NE", "kralek/Talk_NW", -10},
    {Derivation::Mirror, "kralek/Talk_SE", "kralek/Talk_SW", 0},
    {Derivation::Copy, "kralek/Talk_NW", "kralek/Talk_N", 0},
    {Derivation::Copy, "kralek/Talk_SE", "kralek/Talk_S", 0},
    {Derivation::Mirror, "kralek/Talk_W", "kralek/Talk_E", -15},
    {Derivation::Reverse, "luna/Take", "luna/TakeBack", 6},
    {Derivation::Mirror, "luna/Walk_E", "luna/Walk_W", 0},
    {Derivation::Mirror, "luna/Walk_NE", "luna/Walk_NW", -10},
    {Derivation::Mirror, "luna/Walk_SE", "luna/Walk_SW", 0},
    {Derivation::Copy, "brian/Walk_W", "brian/Walk_N", 0},
    {Derivation::Copy, "brian/Walk_W", "brian/Walk_NW", 0},
    {Derivation::Copy, "brian/Walk_W", "brian/Walk_SW", 0},
    {Derivation::Mirror, "brian/Walk_W", "brian/Walk_E", 0},
    {Derivation::Copy, "brian/Walk_E", "brian/Walk_NE", 0},
    {Derivation::Copy, "brian/Walk_E", "brian/Walk_S", 0},
    {Derivation::Copy, "brian/Walk_E", "brian/Walk_SE", 0},
    {Derivation::Mirror, "she/Walk_E", "she/Walk_W", 0},
    {Derivation::Copy, "she/Walk_W", "she/Walk_NW", 0},
    {Derivation::Copy, "she/Walk_W", "she/Walk_N", 0},
    {Derivation::Copy, "she/Walk_E", "she/Walk_NE", 0},
    {Derivation::Mirror, "she/Walk_SE", "she/Walk_SW", 0},
    {Derivation::Copy, "she/Walk_SE", "she/Walk_S", 0},
};

String frameName(const String& animation, int frame) {
    return vessot::jsprintf("%s.%02d", animation, frame);
}

// The frame of the characters chapter, null when it has none.
nimboui::CompositeImage* findFrame(const String& animation, int frame) {
    return dynamic_cast<nimboui::CompositeImage*>(charactersChapter->findImage(frameName(animation, frame)));
}

} // namespace

void loadCharacters() {
    charactersChapter = new Chapter("data/characters/characters_hd.datadef", nullptr);
    charactersChapter->keep = true;
    charactersChapter->load();
    for (const DerivationRow& row : DERIVATIONS) {
        switch (row.kind) {
        case Derivation::Reverse:
            reverseAnimation(row.source, row.target, (int)row.amount);
            break;
        case Derivation::Copy:
            copyAnimationFrames(row.source, row.target, 1, 1);
            break;
        case Derivation::Mirror:
            mirrorAnimation(row.source, row.target, row.amount);
            break;
        }
    }
    for (auto& [name, variable] : Vars::variables.variables) {
        if (name.endsWith("_stand")) {
            variable.addListener(onStandVariableChanged);
        }
    }
}

void copyAnimationFrames(const String& source, const String& target, int start, int step) {
    for (int i = 1;; ++i) {
        nimboui::CompositeImage* frame = findFrame(source, i);
        if (!frame) {
            return;
        }
        int number = start + (i - 1) * step;
        if (number < 1) {
            Session::log("copying " + source + " to " + target +
                         ": more source frames than target frames, stopped at " + frameName(source, i));
            return;
        }
        charactersChapter->registerManualImage(new nimboui::CompositeImage(*frame, frameName(target, number)));
    }
}

void mirrorAnimation(const String& source, const String& target, float xOffset) {
    for (int i = 1;; ++i) {
        nimboui::Image* part = charactersChapter->findImage(frameName("_" + source, i));
        nimboui::CompositeImage* frame = findFrame(source, i);
        if (!part || !frame || frame->getImageRefs().empty()) {
            return;
        }
        auto* mirrored = new nimboui::Image(part->getTexture(), frameName("_" + target, i), part->getSrcRect(),
                                            part->isRotated(), true, false);
        mirrored->setScale(part->getScale());
        charactersChapter->registerManualImage(mirrored);
        float width = frame->getSrcRect().w;
        auto* composite = new nimboui::CompositeImage(frameName(target, i), width, frame->getSrcRect().h);
        composite->setScale(frame->getScale());
        const morvec::Rectangle& placed = frame->getImageRefs()[0].rect;
        composite->addImageRef(mirrored,
                               morvec::Rectangle(width - placed.x - placed.w + xOffset, placed.y, placed.w, placed.h));
        charactersChapter->registerManualImage(composite);
    }
}

void reverseAnimation(const String& source, const String& target, int count) {
    for (const char* direction : DIRECTIONS) {
        copyAnimationFrames(source + direction, target + direction, count, -1);
    }
}

void onStandVariableChanged(Variable* variable, const String& newValue, const String& oldValue) {
    // The character is named by the variable's name up to its first "_".
    String name = variable->name.substr(0, variable->name.find('_'));
    auto* character = dynamic_cast<Character2D*>(charactersChapter->findObject(name));
    if (character && character->getImageName().contains(oldValue)) {
        character->getFrameImageName(newValue, 1);
    }
}

} // namespace Characters
