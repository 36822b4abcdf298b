#pragma once
// An object the player can find and collect. Its scene attaches it only while the game variable
// "ho_" + its name holds (names starting with "__" are always attached and never collected);
// collecting it yields the inventory item "item" (its own name by default).

#include "nimboui/ImageBox.h"

class HiddenObject : public nimboui::ImageBox {
public:
    HiddenObject(const vessot::String& name, const morvec::Rectangle& rect);

    // Collects the object when its variable holds a non-zero number: the variable becomes "0", the
    // item goes into the inventory and the scene is rebuilt. A click on the object is always taken.
    bool OnMouseUp(float x, float y, int button) override;
    bool setProperty(const vessot::String& name, const vessot::String& value) override;

    const vessot::String& getItem() const { return mItem; }

private:
    vessot::String mItem;
};
