#include "engine/objects/LBAMap.h"

#include "trailex/Map.h"

#include "nimboui/Dataset.h"

LBAMap::LBAMap(const vessot::String& name, const morvec::Rectangle& rect) : nimboui::Object("LBAMap", name, rect) {}

LBAMap::~LBAMap() = default;

bool LBAMap::setProperty(const vessot::String& name, const vessot::String& value) {
    if (name != "filename") {
        return nimboui::Object::setProperty(name, value);
    }
    filename = value;
    map = std::make_unique<lba::Map>("data/chapters/" + getDataset()->getName() + "/walk/" + value);
    return true;
}
