// Minigame scene elements: a "Scene" of one of the five minigame types, holding its own elements and
// plain image boxes and buttons, goes through the chapter's scene loader. It loads or is refused
// with a vessot::exception; a scene that loads is entered and played for three seconds with
// presses, moves and releases at random points and button codes, and nothing else may fail.

#include "FuzzInput.h"
#include "engine/app/Engine.h"
#include "engine/scene/Chapter.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/view/Viewport.h"
#include "minigames/MinigameScene.h"

#include "echon/AudioManager.h"
#include "nimbo/Image.h"
#include "vessot/File.h"
#include "vessot/System.h"
#include "vessxml/Xml.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <unistd.h>

namespace {

constexpr float FRAME = 1.0f / 60.0f;

// A chapter "fuzz" in a folder of its own (removed at exit): one texture and the images the
// corpus names: "tile", "piece", "wide", "ring", "ring_small", "lamp", "lamp_lit" and "m_00" to
// "m_99".
struct FuzzChapter {
    FuzzChapter() {
        acceptFuzzInput(0);
        folder = std::filesystem::temp_directory_path() / ("zeph-fuzz-minigame-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder / "fuzz");
        nimbo::Image(64, 64, nimbo::Color(90, 90, 90, 255)).savePng((folder / "fuzz/art.png").string());
        std::string images = "<Texture name=\"art\" file=\"art.png\"/>\n";
        auto image = [&](const std::string& name, int w, int h) {
            images += "<Image name=\"" + name + "\" texture=\"art\" x=\"0\" y=\"0\" w=\"" + std::to_string(w) +
                      "\" h=\"" + std::to_string(h) + "\"/>\n";
        };
        image("tile", 40, 40);
        image("piece", 60, 50);
        image("wide", 430, 20);
        image("ring", 100, 100);
        image("ring_small", 50, 50);
        image("lamp", 30, 30);
        image("lamp_lit", 30, 30);
        for (int cell = 0; cell < 100; ++cell) {
            image("m_" + std::to_string(cell / 10) + std::to_string(cell % 10), 20, 20);
        }
        std::ofstream((folder / "fuzz/fuzz_hd.datadef").string()) << "<Dataset>\n" << images << "</Dataset>\n";
        screenWidth = 426;
        screenHeight = 320;
        echon::init("Offline");
        for (const char* name : {"active_scene", "prev_scene", "fuzz_solved"}) {
            Variable* variable = Vars::getOrCreate(name);
            variable->name = name;
        }
        chapter = new Chapter((folder / "fuzz/fuzz_hd.datadef").string(), nullptr);
    }
    ~FuzzChapter() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::filesystem::path folder;
    Chapter* chapter;
};

Chapter* fuzzChapter() {
    static FuzzChapter made;
    return made.chapter;
}

bool isIdentifier(const String& text) {
    return !text.empty() &&
           text.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_") == String::npos;
}

// The five types with their own elements, and image boxes and buttons named by identifiers whose
// attributes name no variables: the scene's own boot commands are another target's matter.
bool isMinigameScene(vessxml::Node* scene) {
    static const std::set<String> types = {"Domino", "Jigsaw", "Rotator", "Sequence", "Match2"};
    static const std::set<String> pieces = {"DominoElement", "JigsawElement", "Ring"};
    if (*scene != "Scene" || !types.count(scene->pstr("type", ""))) {
        return false;
    }
    for (vessxml::Node* child : scene->children()) {
        if (*child != "Object") {
            if (!pieces.count(child->getName())) {
                return false;
            }
            continue;
        }
        String type = child->pstr("type", "");
        if ((type != "ImageBox" && type != "ImageButton") || !isIdentifier(child->pstr("name", "")) ||
            !child->children().empty()) {
            return false;
        }
        for (const auto& [attribute, value] : child->attributes()) {
            if (value.startsWith("$")) {
                return false;
            }
        }
    }
    return true;
}

void play(Scene* scene, uint32_t seed) {
    vessot::srand(seed);
    for (int frame = 0; frame < 180; ++frame) {
        float x = (float)(vessot::rand() % 466) - 20.0f;
        float y = (float)(vessot::rand() % 360) - 20.0f;
        int button = vessot::rand() % 3;
        sceneCursor = morvec::Vector2(x, y);
        switch (vessot::rand() % 4) {
        case 0:
            scene->onMouseDown(x, y, button);
            break;
        case 1:
            scene->onMouseUp(x, y, button);
            break;
        case 2:
            scene->onMouseMove(x, y);
            break;
        default:
            break;
        }
        scene->update(FRAME);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!acceptFuzzInput(size)) {
        return 0;
    }
    Chapter* chapter = fuzzChapter();
    String text(reinterpret_cast<const char*>(data), size);
    Scene* scene = nullptr;
    try {
        vessxml::Document document = vessxml::Document::parse(text, "fuzz.scene");
        if (!isMinigameScene(document.getRoot())) {
            return 0;
        }
        chapter->unload();
        chapter->load();
        chapter->parseScene(document.getRoot());
        scene = chapter->getScene(document->pstr("name"));
    } catch (const vessot::exception&) {
        return 0;
    }
    auto* minigame = dynamic_cast<MinigameScene*>(scene);
    if (!minigame) {
        std::abort();
    }
    minigame->successCommand = "inc_var fuzz_solved 1";
    Session::activeScene = scene;
    scene->activate();
    uint32_t seed = 0;
    for (size_t i = 0; i < size; ++i) {
        seed = seed * 31 + data[i];
    }
    play(scene, seed);
    scene->deactivate(false);
    Session::activeScene = nullptr;
    return 0;
}
