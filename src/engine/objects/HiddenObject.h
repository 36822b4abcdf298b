#pragma once
// An object the player can find and collect. Its scene attaches it only while the game variable
// "ho_" + its name holds (names starting with "__" are always attached); collecting it yields the
// inventory item "item" (its own name by default).
//
// Collecting on click comes with the engine's object classes; until then the object is attached
// and drawn like an image box.

#include "nimboui/ImageBox.h"

class HiddenObject : public nimboui::ImageBox {
public:
    HiddenObject(const vessot::String& name, const morvec::Rectangle& rect)
        : nimboui::ImageBox(name, rect), mItem(name) {}

    bool setProperty(const vessot::String& name, const vessot::String& value) override {
        nimboui::ImageBox::setProperty(name, value);
        if (name == "item") {
            mItem = value;
        }
        return true;
    }

    const vessot::String& getItem() const { return mItem; }

private:
    vessot::String mItem;
};
