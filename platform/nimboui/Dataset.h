#pragma once
// A named container of textures, images, RAM textures, texts and objects, read from a dataset
// definition file (".datadef", see docs/formats.md) and registered with the library by name.
//
// Names: "dataset.key" looks in the dataset named before the first "." when that names a
// registered dataset; otherwise the whole name is looked up here, so keys may hold dots.
// The dataset owns everything it parsed or was given with registerManual*; a name registered
// twice points at the later entry (with a warning) and both stay owned.

#include "morvec/Rectangle.h"
#include "vessot/String.h"

#include <map>
#include <memory>
#include <set>
#include <unordered_map>
#include <vector>

namespace vessxml {
class Node;
}

namespace nimboui {

using vessot::String;

class Image;
class Object;
class RamTexture;
class Texture;

class Dataset {
public:
    // Registers the dataset under its name; nothing is read until load.
    Dataset(const String& definitionFilePath, const String& name);
    Dataset(const Dataset&) = delete;
    Dataset& operator=(const Dataset&) = delete;
    // Unregisters and unloads.
    virtual ~Dataset();

    // Hands the event to every object that has no parent.
    virtual void notifyEvent(const String& event, void* params);
    // Advances the dataset's textures (idle unloading).
    virtual void update(float dt);
    // The lookups resolve "dataset.key" names and throw _ResourceNotExistsException for a miss.
    virtual Object* getObject(const String& name);
    virtual Texture* getTexture(const String& name);
    virtual Image* getImage(const String& name);
    // The text of a key, or, when no table holds it, a visible placeholder ("ERROR: text 'key' not
    // found!"), logged as an error the first time for each key.
    virtual String getTextEntry(const String& key);
    // The text of a key, through getTextEntry.
    virtual String getText(const String& key);
    virtual bool textExists(const String& key);
    // An element of the definition that the library does not know (such as "Scene"). Ignored here.
    virtual void parseCustomNode(vessxml::Node* element);
    // An object type that the library does not know; null means no such type.
    virtual Object* createCustomObject(vessxml::Node* element, const String& name, const morvec::Rectangle& rect);
    // An attribute of object elements that the dataset's own reader takes (such as a condition),
    // so it is not handed to the object's setProperty. None here.
    virtual bool readsObjectAttribute(const String& attribute) const;
    // What triggerCallback runs; throws _ResourceNotExistsException here (no callbacks of its own).
    virtual void onCallback(const String& name);

    // Reads the definition file (path, or the dataset's own when empty): first every texture,
    // image, composite image, RAM texture, font and text table, then objects and custom elements.
    // A failure throws naming the file, the line and the element, and leaves the dataset unloaded
    // with nothing of the failed load kept. Loading a loaded dataset reloads it.
    void load(const String& path = "");
    // Destroys everything the dataset owns. Fonts stay with the text renderer.
    void unload();
    bool isLoaded() const { return loaded; }

    const String& getName() const { return name; }
    // The folder of the definition file, without a trailing "/".
    const String& getFilePath() const { return folder; }
    // The file being read; the engine points it at a scene file while it parses one.
    const String& getDefinitionFilePath() const { return definitionPath; }
    void setDefinitionFilePath(const String& path) { definitionPath = path; }

    // Lookups that answer null instead of throwing.
    Object* findObject(const String& name);
    Texture* findTexture(const String& name);
    Image* findImage(const String& name);
    RamTexture* findRamTexture(const String& name);
    // The same, throwing _ResourceNotExistsException for a missing name.
    RamTexture* getRamTexture(const String& name);

    // A copy of the text table in use (key to text, the current language over the default).
    std::map<String, String> getTexts() const { return texts; }

    // The dataset takes ownership and indexes them by name.
    void registerManualImage(Image* image);
    void registerManualObject(Object* object);
    void registerManualTexture(Texture* texture);

    // Builds an object from an "Object" or animator element with its nested children, passes
    // every property to setProperty in document order, attaches it to parent (may be null) and
    // registers it by name. The dataset owns it.
    Object* parseObject(vessxml::Node* element, Object* parent);

    void triggerCallback(const String& name) { onCallback(name); }

    // Advances the idle time of the dataset's textures and unloads idle on-demand ones.
    void updateTextures(float dt);

    // Copies, since updates and handlers may change the dataset while one walks them.
    std::vector<Object*> getObjects() const;
    std::vector<Texture*> getTextures() const;
    std::vector<RamTexture*> getRamTextures() const;
    std::vector<Image*> getImages() const;

    // A path of the definition relative to the dataset's folder, with "$" macros expanded.
    String resolvePath(const String& file) const;

private:
    struct Content;
    class Parser;
    friend class Parser;

    // The dataset named before the first "." of name (key gets the rest), or null.
    static Dataset* datasetOf(const String& name, String& key);
    void clear();

    String name;
    String definitionPath;
    String folder;
    bool loaded = false;
    std::unique_ptr<Content> content;
    std::map<String, String> texts;
    // The missing keys logged already.
    std::set<String> missingTexts;
};

} // namespace nimboui
