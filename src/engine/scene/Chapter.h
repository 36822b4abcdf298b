#pragma once
// A chapter: a GUI dataset (objects, images, textures, texts from its definition file) extended
// with the engine's content found in the definition's folder: sounds ("audio"), scene files
// ("scenes"), hotspot maps ("action_maps") and dialog files ("dialogs"), plus the named actions
// that scene files and code register. Chapters are created once, loaded when play enters them and
// unloaded when play leaves them.

#include "nimboui/Dataset.h"
#include "nimboui/Exception.h"
#include "vessot/String.h"

#include <map>

using vessot::String;

class Action;
class ActionMap;
class Dialog;
class Scene;

class Chapter;
using ChapterCallback = void (*)(Chapter*);
using SceneFileFilter = bool (*)(const String&);

class Chapter : public nimboui::Dataset {
public:
    // The chapter's name is the folder that directly holds the definition file
    // ("data/chapters/ship/ship_hd.datadef" gives "ship"); a path without "/" is refused.
    Chapter(const String& definitionPath, ChapterCallback preLoadCallback);
    ~Chapter() override;

    // Runs the pre-load callback, then reads the dataset, sounds, scenes, hotspot maps and dialogs.
    void load();
    // Destroys the chapter's engine content and unloads the dataset; nothing when not loaded.
    void unload();
    // Releases idle on-demand textures and the RAM textures (low memory, chapters that stay).
    void unloadTextures();

    // The dataset's lookups with the engine's rules: "$variable" names, "dataset.key" names.
    nimboui::Object* getObject(const String& name) override;
    nimboui::Image* getImage(const String& name) override;
    String getTextEntry(const String& key) override;
    String getText(const String& key) override;
    bool textExists(const String& key) override;
    // A "Scene" element becomes a scene; other elements are ignored.
    void parseCustomNode(vessxml::Node* element) override;
    // The engine's object types ("HiddenObject", "Character2D", ...); null for others.
    nimboui::Object* createCustomObject(vessxml::Node* element, const String& name,
                                        const morvec::Rectangle& rect) override;
    // A scene file's "condition" on an object is the condition of attaching it, read by the scene.
    bool readsObjectAttribute(const String& attribute) const override;
    // A callback of this chapter is its named action of exactly that name.
    void onCallback(const String& name) override;

    void parseSceneFile(const String& path);
    void parseScene(vessxml::Node* element);
    // Appends the commands of the element's boot children to the scene (see BootCommand.h).
    void parseBootCommands(vessxml::Node* element, Scene* scene, const String& condition);

    // The chapter owns the scene, also when registering it fails.
    void registerScene(const String& name, Scene* scene);
    Scene* getScene(const String& name);
    // Whether the chapter has the scene: among its scenes when loaded, else among the scenes that
    // its accepted scene files define, read without loading the chapter.
    bool hasScene(const String& name);
    ActionMap* getActionMap(const String& name);
    Dialog* getDialog(const String& name);
    // The chapter owns the action, also when registering it fails.
    void registerNamedAction(const String& name, Action* action);
    // "chapter.name" looks in that chapter (split at the first "."); other names here.
    Action* getNamedAction(const String& name);
    // The name unchanged when it holds "."; else chapter name + "." + name.
    String getFullSoundName(const String& name) const;

    static bool acceptAllSceneFiles(const String& path);

    std::map<String, Scene*> scenes;
    std::map<String, ActionMap*> actionMaps;
    std::map<String, Dialog*> dialogs;
    std::map<String, Action*> namedActions;
    ChapterCallback preLoadCallback;
    SceneFileFilter sceneFileFilter = acceptAllSceneFiles;
    // A kept chapter stays loaded when play moves on ("ui", "characters").
    bool keep = false;

private:
    // The value of "$variable" names, followed through further "$" values at most 16 times.
    String resolveVariable(const String& name) const;
    // Follows "$variable" values and "chapter.key" names, at most 16 steps of either in all, to the
    // chapter that holds the name itself; name becomes the key there.
    Chapter* resolveName(String& name);
    // The chapter named before the first "." when that names a registered chapter; else null.
    Chapter* chapterOf(const String& name, String& key) const;
    // The action registered under exactly this name.
    Action* findNamedAction(const String& name) const;
    void destroyContent();
    void loadContent();

    // The scene files that defined each scene during the current load.
    std::map<String, String> sceneSources;
};

class _SceneNotFoundExeption : public nimboui::_GenericException {
public:
    _SceneNotFoundExeption(nimboui::Dataset* chapter, const String& file, int line, const String& sceneName)
        : nimboui::_GenericException("Scene '" + sceneName + "' not found in chapter '" + chapter->getName() + "'",
                                     "SceneNotFoundExeption", file, line) {}
};

// The interface chapter "ui" and the characters chapter; null until loaded.
extern Chapter* uiChapter;
extern Chapter* charactersChapter;
