#include "nimboui/Dataset.h"

#include "nimbo/Nimbo.h"
#include "nimboui/Animators.h"
#include "nimboui/CompositeImage.h"
#include "nimboui/EditBox.h"
#include "nimboui/Exception.h"
#include "nimboui/Image.h"
#include "nimboui/ImageButton.h"
#include "nimboui/Internal.h"
#include "nimboui/RamTexture.h"
#include "nimboui/RotationImageBox.h"
#include "nimboui/TextButton.h"
#include "nimboui/Texture.h"
#include "nimboui/nimboui.h"
#include "vessot/File.h"
#include "vessot/Log.h"
#include "vessxml/Xml.h"

#include <unordered_map>

namespace nimboui {

_ResourceNotExistsException::_ResourceNotExistsException(const String& name, const String& kind, const Dataset* dataset)
    : _ResourceNotExistsException(name, kind, dataset ? dataset->getName() : String("(none)")) {}

struct Dataset::Content {
    // Owned, in the order made; destroyed objects first, textures last.
    std::vector<std::unique_ptr<Object>> objects;
    std::vector<std::unique_ptr<Image>> images;
    std::vector<std::unique_ptr<RamTexture>> ramTextures;
    std::vector<std::unique_ptr<Texture>> textures;
    // The entry each name finds.
    std::unordered_map<String, Object*> objectIndex;
    std::unordered_map<String, Image*> imageIndex;
    std::unordered_map<String, RamTexture*> ramTextureIndex;
    std::unordered_map<String, Texture*> textureIndex;
    // The built-in images, there whether the dataset is loaded or not.
    Image nullImage{nullptr, "null", morvec::Rectangle()};
    Image placeholderImage{nullptr, "0xCAFEBABE", morvec::Rectangle()};

    // Owns the item and points its name at it; a name taken before is given to the later item.
    template <class T>
    T* add(std::vector<std::unique_ptr<T>>& owned, std::unordered_map<String, T*>& index, T* item, const String& name,
           const char* kind, const String& datasetName) {
        owned.emplace_back(item);
        T*& entry = index[name];
        if (entry && entry != item) {
            vessot::Log::warn(internal::CHANNEL, String(kind) + " '" + name + "' registered twice in dataset '" +
                                                     datasetName + "'; the later one is used");
        }
        entry = item;
        return item;
    }
};

namespace {

template <class T> T* find(const std::unordered_map<String, T*>& index, const String& name) {
    auto it = index.find(name);
    return it == index.end() ? nullptr : it->second;
}

// An error of a definition element: "file:line: element 'name': what went wrong".
class DefinitionError : public _GenericException {
public:
    DefinitionError(const vessxml::Node& node, const String& message)
        : _GenericException(withPlace(node, message), "GenericException", node.getFile(), node.getLine()) {}

private:
    static String withPlace(const vessxml::Node& node, const String& message) {
        String place = node.getFile() + ":" + String(node.getLine()) + ": element '" + node.getName() + "': ";
        return message.startsWith(place) ? message : place + message;
    }
};

// Runs part of the reading of one element; any failure comes out naming the element.
template <class F> auto guarded(const vessxml::Node& node, F&& work) -> decltype(work()) {
    try {
        return work();
    } catch (const DefinitionError&) {
        throw;
    } catch (const vessot::exception& e) {
        throw DefinitionError(node, e.message());
    }
}

bool isResourceElement(const vessxml::Node& node) {
    return node == "Texture" || node == "Image" || node == "CompositeImage" || node == "RamTexture" || node == "Font" ||
           node == "Texts";
}

// The object types the library makes itself.
Object* createBuiltinObject(const String& type, const String& name, const morvec::Rectangle& rect) {
    if (type == "Object") {
        return new Object("Object", name, rect);
    }
    if (type == "ImageBox") {
        return new ImageBox(name, rect);
    }
    if (type == "ImageButton") {
        return new ImageButton(name, rect);
    }
    if (type == "TextButton") {
        return new TextButton(name, rect);
    }
    if (type == "Label") {
        return new Label(name, rect);
    }
    if (type == "EditBox") {
        return new EditBox(name, rect);
    }
    if (type == "RotationImageBox" || type == "RotatableImageBox") {
        return new RotationImageBox(name, rect);
    }
    if (type == "Mover" || type == "Animators::Mover") {
        return new Animators::Mover(name);
    }
    if (type == "Scaler" || type == "Animators::Scaler") {
        return new Animators::Scaler(name);
    }
    if (type == "AlphaFader" || type == "Animators::AlphaFader") {
        return new Animators::AlphaFader(name);
    }
    return nullptr;
}

} // namespace

// Reads one definition document into its dataset.
class Dataset::Parser {
public:
    explicit Parser(Dataset& dataset) : dataset(dataset), content(*dataset.content) {}

    void parse(const String& path) {
        vessxml::Document document = open(path);
        vessxml::Node* root = document.getRoot();
        if (*root != "Dataset") {
            throw DefinitionError(*root, "the root element of a dataset definition must be 'Dataset'");
        }
        std::map<String, String> defaultTexts;
        std::map<String, String> localTexts;
        for (vessxml::Node* node : root->children()) {
            guarded(*node, [&] { parseResource(*node, defaultTexts, localTexts); });
        }
        // The current language's texts over the default ones, key by key.
        for (auto& [key, text] : localTexts) {
            defaultTexts[key] = text;
        }
        dataset.texts.insert(defaultTexts.begin(), defaultTexts.end());
        for (vessxml::Node* node : root->children()) {
            if (*node == "Object" || *node == "Animator") {
                parseObject(*node, nullptr);
            } else if (!isResourceElement(*node)) {
                dataset.parseCustomNode(node);
            }
        }
    }

    Object* parseObject(vessxml::Node& node, Object* parent) {
        Object* object = guarded(node, [&] {
            String type = node == "Animator" ? node.pstr("type") : node.pstr("type", "Object");
            String name = node.pstr("name", "");
            morvec::Rectangle rect(node.pfloat("x", 0), node.pfloat("y", 0), node.pfloat("w", -1),
                                   node.pfloat("h", -1));
            Object* made = createBuiltinObject(type, name, rect);
            if (!made) {
                made = dataset.createCustomObject(&node, name, rect);
            }
            if (!made) {
                throw _GenericException("unknown object type '" + type + "'");
            }
            dataset.registerManualObject(made);
            for (const auto& [attribute, value] : node.attributes()) {
                if (!isConstructorAttribute(attribute) && !dataset.readsObjectAttribute(attribute)) {
                    setProperty(*made, attribute, value);
                }
            }
            if (parent) {
                parent->addChild(made);
            }
            return made;
        });
        for (vessxml::Node* child : node.children()) {
            if (*child == "Property") {
                guarded(*child, [&] { setProperty(*object, child->pstr("name"), child->pstr("value", "")); });
            } else if (*child == "Object" || *child == "Animator") {
                parseObject(*child, object);
            }
        }
        return object;
    }

private:
    static vessxml::Document open(const String& path) {
        try {
            return vessxml::open(path);
        } catch (const vessot::exception& e) {
            throw _GenericException("can't read dataset definition: " + e.message(), "GenericException", path,
                                    e.line());
        }
    }

    static bool isConstructorAttribute(const String& attribute) {
        return attribute == "type" || attribute == "name" || attribute == "x" || attribute == "y" || attribute == "w" ||
               attribute == "h";
    }

    static void setProperty(Object& object, const String& property, const String& value) {
        if (!object.setProperty(property, value)) {
            vessot::Log::warn(internal::CHANNEL,
                              "object '" + object.getName() + "' has no property '" + property + "'");
        }
    }

    void parseResource(const vessxml::Node& node, std::map<String, String>& defaultTexts,
                       std::map<String, String>& localTexts) {
        if (node == "Texture") {
            parseTexture(node);
        } else if (node == "Image") {
            parseImage(node);
        } else if (node == "CompositeImage") {
            parseCompositeImage(node);
        } else if (node == "RamTexture") {
            parseRamTexture(node);
        } else if (node == "Font") {
            parseFont(node);
        } else if (node == "Texts") {
            String language = node.pstr("lang", "");
            if (language.empty()) {
                readTexts(node, defaultTexts);
            } else if (language == getLocalization()) {
                readTexts(node, localTexts);
            }
        }
    }

    // A texture that is not on demand must exist now, and loads now when there is a renderer.
    void parseTexture(const vessxml::Node& node) {
        String file = dataset.resolvePath(node.pstr("file"));
        bool onDemand = isForcedDynamicLoading() || node.pbool("on_demand", false);
        Texture* texture = new Texture(file, onDemand);
        texture->setName(node.pstr("name", node.pstr("file")));
        dataset.registerManualTexture(texture);
        if (!onDemand) {
            if (!vessot::Resource::exists(file, true)) {
                throw vessot::_file_not_found(file);
            }
            if (nimbo::rendersys) {
                texture->load();
            }
        }
    }

    void parseImage(const vessxml::Node& node) {
        String textureName = node.pstr("texture");
        Texture* texture = dataset.findTexture(textureName);
        if (!texture) {
            throw _ResourceNotExistsException(textureName, "Texture", &dataset);
        }
        float w = node.pexists("w") ? node.pfloat("w") : (float)texture->getWidth();
        float h = node.pexists("h") ? node.pfloat("h") : (float)texture->getHeight();
        Image* image =
            new Image(texture, node.pstr("name"), morvec::Rectangle(node.pfloat("x", 0), node.pfloat("y", 0), w, h),
                      node.pbool("rotated", false), node.pbool("invert_x", false), node.pbool("invert_y", false));
        dataset.registerManualImage(image);
        image->setBlendMode(node.pint("blend", BLEND_DEFAULT));
    }

    // Parts refer to images of the dataset; a mirrored part gets a mirrored copy of its image,
    // owned by the dataset under no name of its own.
    void parseCompositeImage(const vessxml::Node& node) {
        CompositeImage* composite = new CompositeImage(node.pstr("name"), node.pfloat("w"), node.pfloat("h"));
        dataset.registerManualImage(composite);
        for (vessxml::Node* part : node.children()) {
            if (*part != "Part") {
                continue;
            }
            guarded(*part, [&] {
                String imageName = part->pstr("image");
                Image* image = dataset.findImage(imageName);
                if (!image) {
                    throw _ResourceNotExistsException(imageName, "Image", &dataset);
                }
                bool mirrorX = part->pbool("mirror_x", false);
                bool mirrorY = part->pbool("mirror_y", false);
                if (mirrorX || mirrorY) {
                    image = mirrored(*image, mirrorX, mirrorY);
                }
                const morvec::Rectangle& source = image->getSrcRect();
                float pixelWidth = image->isRotated() ? source.h : source.w;
                float pixelHeight = image->isRotated() ? source.w : source.h;
                composite->addImageRef(image, morvec::Rectangle(part->pfloat("x", 0), part->pfloat("y", 0),
                                                                part->pfloat("w", pixelWidth),
                                                                part->pfloat("h", pixelHeight)));
            });
        }
    }

    Image* mirrored(const Image& image, bool mirrorX, bool mirrorY) {
        if (dynamic_cast<const CompositeImage*>(&image)) {
            throw _GenericException("a composite image can't be mirrored as a part");
        }
        Image* copy = new Image(image.getTexture(), image.getName(), image.getSrcRect(), image.isRotated(),
                                image.isInvertedX() != mirrorX, image.isInvertedY() != mirrorY);
        content.images.emplace_back(copy);
        copy->setScale(image.getScale());
        copy->setBlendMode(image.getBlendMode());
        return copy;
    }

    void parseRamTexture(const vessxml::Node& node) {
        String file = dataset.resolvePath(node.pstr("file"));
        RamTexture* texture = new RamTexture(node.pstr("name", node.pstr("file")), file);
        content.add(content.ramTextures, content.ramTextureIndex, texture, texture->getName(), "RamTexture",
                    dataset.name);
        if (!vessot::Resource::exists(file, true)) {
            throw vessot::_file_not_found(file);
        }
    }

    void parseFont(const vessxml::Node& node) {
        String file = dataset.resolvePath(node.pstr("file"));
        if (node.pexists("size")) {
            internal::registerTrueTypeFont(node.pstr("name"), file, node.pfloat("size"),
                                           node.pfloat("scale", getDefaultScale()));
        } else {
            internal::registerBitmapFont(file);
        }
    }

    void readTexts(const vessxml::Node& node, std::map<String, String>& into) {
        vessxml::Document document = vessxml::open(dataset.resolvePath(node.pstr("file")));
        vessxml::Node* root = document.getRoot();
        if (*root != "Texts") {
            root->fail("the root element of a text table must be 'Texts'");
        }
        for (vessxml::Node* entry : root->children()) {
            if (*entry == "Text") {
                into[entry->pstr("key")] = entry->getText();
            }
        }
    }

    Dataset& dataset;
    Content& content;
};

Dataset::Dataset(const String& definitionFilePath, const String& name)
    : name(name), definitionPath(definitionFilePath), folder(vessot::DirBase::dirname(definitionFilePath)),
      content(std::make_unique<Content>()) {
    internal::registerDataset(this);
}

Dataset::~Dataset() {
    clear();
    internal::unregisterDataset(this);
}

void Dataset::load(const String& path) {
    if (loaded) {
        unload();
    }
    try {
        Parser(*this).parse(path.empty() ? definitionPath : path);
    } catch (...) {
        clear();
        throw;
    }
    loaded = true;
}

void Dataset::unload() {
    clear();
    loaded = false;
}

void Dataset::clear() {
    content->objectIndex.clear();
    content->imageIndex.clear();
    content->ramTextureIndex.clear();
    content->textureIndex.clear();
    content->objects.clear();
    content->images.clear();
    content->ramTextures.clear();
    content->textures.clear();
    texts.clear();
}

Dataset* Dataset::datasetOf(const String& name, String& key) {
    size_t dot = name.find('.');
    if (dot == String::npos) {
        return nullptr;
    }
    Dataset* named = getDatasetByName(name.substr(0, dot));
    if (named) {
        key = name.substr(dot + 1);
    }
    return named;
}

void Dataset::notifyEvent(const String& event, void* params) {
    for (Object* object : getObjects()) {
        if (!object->getParent()) {
            object->notifyEvent(event, params);
        }
    }
}

void Dataset::update(float dt) {
    updateTextures(dt);
}

Object* Dataset::getObject(const String& name) {
    String key;
    if (Dataset* named = datasetOf(name, key)) {
        return named->getObject(key);
    }
    if (Object* object = find(content->objectIndex, name)) {
        return object;
    }
    throw _ResourceNotExistsException(name, "Object", this);
}

Texture* Dataset::getTexture(const String& name) {
    String key;
    if (Dataset* named = datasetOf(name, key)) {
        return named->getTexture(key);
    }
    if (Texture* texture = find(content->textureIndex, name)) {
        return texture;
    }
    throw _ResourceNotExistsException(name, "Texture", this);
}

Image* Dataset::getImage(const String& name) {
    String key;
    if (Dataset* named = datasetOf(name, key)) {
        return named->getImage(key);
    }
    if (Image* image = findImage(name)) {
        return image;
    }
    throw _ResourceNotExistsException(name, "Image", this);
}

String Dataset::getTextEntry(const String& key) {
    String rest;
    if (Dataset* named = datasetOf(key, rest)) {
        return named->getTextEntry(rest);
    }
    auto it = texts.find(key);
    if (it != texts.end()) {
        return it->second;
    }
    if (missingTexts.insert(key).second) {
        vessot::Log::errorf(internal::CHANNEL, "text '%s' not found in dataset '%s'", key, name);
    }
    return "ERROR: text '" + key + "' not found!<p5>";
}

String Dataset::getText(const String& key) {
    return getTextEntry(key);
}

bool Dataset::textExists(const String& key) {
    String rest;
    if (Dataset* named = datasetOf(key, rest)) {
        return named->textExists(rest);
    }
    return texts.count(key) != 0;
}

void Dataset::parseCustomNode(vessxml::Node*) {}

Object* Dataset::createCustomObject(vessxml::Node*, const String&, const morvec::Rectangle&) {
    return nullptr;
}

void Dataset::onCallback(const String& name) {
    throw _ResourceNotExistsException(name, "Callback", this);
}

Object* Dataset::findObject(const String& name) {
    String key;
    if (Dataset* named = datasetOf(name, key)) {
        return named->findObject(key);
    }
    return find(content->objectIndex, name);
}

Texture* Dataset::findTexture(const String& name) {
    String key;
    if (Dataset* named = datasetOf(name, key)) {
        return named->findTexture(key);
    }
    return find(content->textureIndex, name);
}

Image* Dataset::findImage(const String& name) {
    String key;
    if (Dataset* named = datasetOf(name, key)) {
        return named->findImage(key);
    }
    if (Image* image = find(content->imageIndex, name)) {
        return image;
    }
    if (name == "null") {
        return &content->nullImage;
    }
    if (name == "0xCAFEBABE") {
        return &content->placeholderImage;
    }
    return nullptr;
}

RamTexture* Dataset::findRamTexture(const String& name) {
    String key;
    if (Dataset* named = datasetOf(name, key)) {
        return named->findRamTexture(key);
    }
    return find(content->ramTextureIndex, name);
}

RamTexture* Dataset::getRamTexture(const String& name) {
    if (RamTexture* texture = findRamTexture(name)) {
        return texture;
    }
    throw _ResourceNotExistsException(name, "RamTexture", this);
}

void Dataset::registerManualImage(Image* image) {
    if (image) {
        content->add(content->images, content->imageIndex, image, image->getName(), "Image", name);
    }
}

void Dataset::registerManualObject(Object* object) {
    if (!object) {
        return;
    }
    content->add(content->objects, content->objectIndex, object, object->getName(), "Object", name);
    if (!object->getDataset()) {
        object->setDataset(this);
    }
}

void Dataset::registerManualTexture(Texture* texture) {
    if (texture) {
        content->add(content->textures, content->textureIndex, texture, texture->getName(), "Texture", name);
        texture->setDataset(this);
    }
}

bool Dataset::readsObjectAttribute(const String&) const {
    return false;
}

Object* Dataset::parseObject(vessxml::Node* element, Object* parent) {
    return Parser(*this).parseObject(*element, parent);
}

void Dataset::updateTextures(float dt) {
    for (auto& texture : content->textures) {
        texture->update(dt);
    }
}

std::vector<Object*> Dataset::getObjects() const {
    std::vector<Object*> out;
    for (auto& object : content->objects) {
        out.push_back(object.get());
    }
    return out;
}

std::vector<Texture*> Dataset::getTextures() const {
    std::vector<Texture*> out;
    for (auto& texture : content->textures) {
        out.push_back(texture.get());
    }
    return out;
}

std::vector<RamTexture*> Dataset::getRamTextures() const {
    std::vector<RamTexture*> out;
    for (auto& texture : content->ramTextures) {
        out.push_back(texture.get());
    }
    return out;
}

std::vector<Image*> Dataset::getImages() const {
    std::vector<Image*> out;
    for (auto& image : content->images) {
        out.push_back(image.get());
    }
    return out;
}

String Dataset::resolvePath(const String& file) const {
    String expanded = expandMacro(file);
    if (!vessot::DirBase::staysInside(expanded)) {
        throw _GenericException("'file' '" + expanded +
                                "' must name a file of the dataset's folder (no absolute path, no '..')");
    }
    return folder.empty() ? expanded : folder + "/" + expanded;
}

} // namespace nimboui
