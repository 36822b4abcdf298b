#include "engine/objects/LBAMap.h"

#include "trailex/Map.h"

#include "nimboui/Dataset.h"
#include "vessot/File.h"

LBAMap::LBAMap(const vessot::String& name, const morvec::Rectangle& rect) : nimboui::Object("LBAMap", name, rect) {}

LBAMap::~LBAMap() = default;

bool LBAMap::setProperty(const vessot::String& name, const vessot::String& value) {
    if (name != "filename") {
        return nimboui::Object::setProperty(name, value);
    }
    if (!vessot::DirBase::staysInside(value)) {
        throw vessot::exception("'filename' '" + value +
                                    "' must name a file of the chapter's walk folder (no absolute path, no '..')",
                                __FILE__, __LINE__);
    }
    mFilename = value;
    mMap = std::make_unique<lba::Map>(getDataset()->getFilePath() + "/walk/" + value);
    return true;
}
