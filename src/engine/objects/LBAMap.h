#pragma once
// The walk map of a scene, as an object of its scene file: "filename" names a file in the
// chapter's "walk" folder. The walk job plans on the first LBAMap among the active scene's objects.

#include "nimboui/Object.h"

#include <memory>

namespace lba {
class Map;
}

class LBAMap : public nimboui::Object {
public:
    LBAMap(const vessot::String& name, const morvec::Rectangle& rect);
    ~LBAMap() override;
    // "filename" loads the map (a second one replaces the first); other names go to the object.
    bool setProperty(const vessot::String& name, const vessot::String& value) override;
    // Null until "filename" is set.
    const lba::Map* getMap() const { return mMap.get(); }

private:
    vessot::String mFilename;
    std::unique_ptr<lba::Map> mMap;
};
