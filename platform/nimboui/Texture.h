#pragma once
// A texture of a dataset or made by code, loaded on first use and, when on demand, unloaded
// again after it was not drawn for the library's idle unload time.
//
// A texture from a file creates its render texture when it first loads. A texture made by code
// wraps a render texture it is given (and owns): load and unload then go through that render
// texture, which comes back blank, and nothing is ever read from a file.

#include "vessot/String.h"

namespace nimbo {
class Texture;
}

namespace nimboui {

using vessot::String;

class Dataset;

class Texture {
public:
    // From a file (a resource path); an on-demand texture loads on first use.
    Texture(const String& filename, bool onDemand);
    // Wraps a render texture made by code; the texture owns it.
    Texture(const String& filename, nimbo::Texture* renderTexture);
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;
    ~Texture();

    // The name a dataset knows it by (the file name unless the definition names it).
    const String& getName() const { return name; }
    void setName(const String& value) { name = value; }
    const String& getFilename() const { return filename; }

    // Loading a texture from a missing file: an error (vessot::_file_not_found) unless the
    // texture is on demand, which logs one line and shows nothing.
    void load();
    void unload();
    bool isLoaded() const;
    // Loads when needed and resets the idle time: what drawing does.
    void use();
    // Null until a texture from a file first loads.
    nimbo::Texture* getRenderTexture() const { return renderTexture; }
    // The size in pixels (read from the file's header when not loaded).
    int getWidth() const;
    int getHeight() const;

    bool isOnDemand() const { return onDemand; }
    void setOnDemand(bool value) { onDemand = value; }
    // Seconds since the texture was last drawn.
    float getIdleTime() const { return idleTime; }
    // Advances the idle time; an on-demand texture idle longer than the library's idle unload
    // time is unloaded.
    void update(float dt);

    // The dataset that holds it (null for textures made by code).
    Dataset* getDataset() const { return owner; }
    void setDataset(Dataset* dataset) { owner = dataset; }

private:
    String name;
    String filename;
    nimbo::Texture* renderTexture = nullptr;
    bool fromFile;
    bool onDemand;
    float idleTime = 0.0f;
    Dataset* owner = nullptr;
};

} // namespace nimboui
