#include "engine/objects/LBAMap.h"

#include "engine/session/zephUtil.h"

#include "trailex/Map.h"

#include "nimboui/Dataset.h"
#include "vessot/Exception.h"

LBAMap::LBAMap(const vessot::String& name, const morvec::Rectangle& rect) : nimboui::Object("LBAMap", name, rect) {}

LBAMap::~LBAMap() = default;

bool LBAMap::setProperty(const vessot::String& name, const vessot::String& value) {
    if (name != "filename") {
        return nimboui::Object::setProperty(name, value);
    }
    String refusal = zephUtil::leavesFolder(name, value, "a file of the chapter's walk folder");
    if (!refusal.empty()) {
        throw vessot::exception(refusal, __FILE__, __LINE__);
    }
    mFilename = value;
    mMap = std::make_unique<lba::Map>(getDataset()->getFilePath() + "/walk/" + value);
    return true;
}
