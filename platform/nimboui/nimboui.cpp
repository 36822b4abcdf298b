#include "nimboui/nimboui.h"

#include "nimboui/Internal.h"
#include "vessot/Log.h"

#include <algorithm>
#include <map>
#include <unordered_set>

namespace nimboui {

namespace {

struct Library {
    bool initialized = false;
    float defaultScale = 1.0f;
    String localization;
    bool forcedDynamicLoading = false;
    float idleUnloadTime = 60.0f;
    MacroCallback macroCallback;
    // Every dataset alive, in creation order, and the one each name finds.
    std::vector<Dataset*> datasets;
    std::map<String, Dataset*> byName;
    std::unordered_set<Texture*> textures;
    morvec::Vector2 cursor;
};

Library& library() {
    static Library instance;
    return instance;
}

} // namespace

namespace internal {

void registerDataset(Dataset* dataset) {
    library().datasets.push_back(dataset);
    Dataset*& entry = library().byName[dataset->getName()];
    if (entry && entry != dataset) {
        vessot::Log::warn(CHANNEL, "dataset '" + dataset->getName() + "' registered twice; the later one is used");
    }
    entry = dataset;
}

void unregisterDataset(Dataset* dataset) {
    std::erase(library().datasets, dataset);
    auto it = library().byName.find(dataset->getName());
    if (it != library().byName.end() && it->second == dataset) {
        library().byName.erase(it);
    }
}

void registerTexture(Texture* texture) {
    library().textures.insert(texture);
}
void unregisterTexture(Texture* texture) {
    library().textures.erase(texture);
}

Image* nullImage() {
    static Image image(nullptr, "null", morvec::Rectangle());
    return &image;
}

} // namespace internal

void init() {
    library().initialized = true;
}

void destroy() {
    for (Dataset* dataset : getDatasets()) {
        delete dataset;
    }
    library().initialized = false;
}

bool isInitialized() {
    return library().initialized;
}

void setDefaultScale(float scale) {
    library().defaultScale = scale;
}
float getDefaultScale() {
    return library().defaultScale;
}

void setLocalization(const String& code) {
    library().localization = code;
}
String getLocalization() {
    return library().localization;
}

void setForcedDynamicLoading(bool forced) {
    library().forcedDynamicLoading = forced;
}
bool isForcedDynamicLoading() {
    return library().forcedDynamicLoading;
}

void setTextureIdleUnloadTime(float seconds) {
    library().idleUnloadTime = seconds;
}
float getTextureIdleUnloadTime() {
    return library().idleUnloadTime;
}

void updateTextures(float dt) {
    std::vector<Texture*> free;
    for (Texture* texture : library().textures) {
        if (!texture->getDataset()) {
            free.push_back(texture);
        }
    }
    for (Texture* texture : free) {
        texture->update(dt);
    }
}

void setMacroCallback(MacroCallback callback) {
    library().macroCallback = std::move(callback);
}

String expandMacro(const String& text) {
    if (!text.startsWith("$") || !library().macroCallback) {
        return text;
    }
    return library().macroCallback(text);
}

Dataset* getDatasetByName(const String& name) {
    auto it = library().byName.find(name);
    return it == library().byName.end() ? nullptr : it->second;
}

std::vector<Dataset*> getDatasets() {
    return library().datasets;
}

void setCursorPosition(const morvec::Vector2& position) {
    library().cursor = position;
}
void setCursorPosition(float x, float y) {
    library().cursor = {x, y};
}
morvec::Vector2 getCursorPosition() {
    return library().cursor;
}

} // namespace nimboui
