#pragma once
// The walk map of a scene, as an object of its scene file ("filename" under the chapter's "walk").

#include "nimboui/Object.h"

#include <memory>

namespace lba {
class Map;
}

class LBAMap : public nimboui::Object {
public:
    LBAMap(const vessot::String& name, const morvec::Rectangle& rect);
    ~LBAMap() override;
    bool setProperty(const vessot::String& name, const vessot::String& value) override;
    // Null until "filename" is set.
    const lba::Map* getMap() const { return map.get(); }

private:
    vessot::String filename;
    std::unique_ptr<lba::Map> map;
};
