// The game's own data (the working directory is the repository's root): every committed hotspot map
// answers what the picture it was made from shows, and every bundled chapter loads on both interfaces.
#include "SceneObjectFixture.h"
#include "engine/scene/ActionMap.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// With a headless window: the logo screen loads its pictures as textures.
class BundledDataTest : public SceneObjectFixture {};

// The hotspot pictures under data/, each with the map beside its folder.
std::vector<fs::path> hotspotPictures() {
    std::vector<fs::path> pictures;
    for (const auto& entry : fs::recursive_directory_iterator("data")) {
        if (entry.path().extension() == ".png" && entry.path().parent_path().filename() == "hotspots") {
            pictures.push_back(entry.path());
        }
    }
    std::sort(pictures.begin(), pictures.end());
    return pictures;
}

bool acceptPc(const String& path) {
    return !path.endsWith(".mobile.scene");
}
bool acceptMobile(const String& path) {
    return !path.endsWith(".pc.scene");
}

} // namespace

TEST_F(BundledDataTest, EveryHotspotMapAnswersWhatItsPictureShows) {
    std::vector<fs::path> pictures = hotspotPictures();
    ASSERT_GE(pictures.size(), 12u);
    for (const fs::path& picturePath : pictures) {
        fs::path mapPath = picturePath.parent_path().parent_path() / "action_maps" / picturePath.stem();
        mapPath += ".amp";
        SCOPED_TRACE(mapPath.string());
        nimbo::Image picture = nimbo::Image::load(picturePath.string());
        ActionMap map(mapPath.string());
        // One pixel per scene unit: 320 high, and 426 wide or as wide as the scene.
        EXPECT_EQ(picture.getHeight(), 320);
        EXPECT_EQ(map.headerA, picture.getWidth());
        EXPECT_EQ(map.headerB, picture.getHeight());
        int mismatches = 0;
        for (int y = 0; y < picture.getHeight(); ++y) {
            for (int x = 0; x < picture.getWidth(); ++x) {
                const uint8_t* p = picture.data() + ((size_t)y * picture.getWidth() + x) * 4;
                uint32_t colour = p[3] ? (uint32_t)p[0] << 16 | (uint32_t)p[1] << 8 | p[2] : 0;
                mismatches += map.getAreaAt(x, y) != colour;
            }
        }
        EXPECT_EQ(mismatches, 0);
        for (const ActionMapArea& area : map.getAreas()) {
            EXPECT_EQ(map.getAreaAt(area.px, area.py), (uint32_t)area.id) << std::hex << area.id;
        }
    }
}

TEST_F(BundledDataTest, EveryChapterLoadsOnBothInterfacesWithAMapPerScene) {
    Vars::loadFromXml("data/vars.xml");
    // The scenes show the characters of the characters chapter, which stays loaded.
    auto* characters = new Chapter("data/characters/characters_hd.datadef", nullptr);
    characters->load();
    for (SceneFileFilter filter : {acceptPc, acceptMobile}) {
        for (const char* path :
             {"data/ui/ui_hd.datadef", "data/ui/ui_mobile_hd.datadef", "data/chapters/ship/ship_hd.datadef",
              "data/chapters/jama_spacea/jama_spacea_hd.datadef", "data/chapters/varion/varion_hd.datadef",
              "data/chapters/menu/menu_hd.datadef", "data/chapters/intro/intro_hd.datadef",
              "data/chapters/terra_nuova/terra_nuova_hd.datadef"}) {
            SCOPED_TRACE(path);
            auto* chapter = new Chapter(path, nullptr);
            chapter->sceneFileFilter = filter;
            chapter->load();
            for (const auto& [name, scene] : chapter->scenes) {
                // A map as wide as the scene.
                String width = scene->getProperty("width");
                EXPECT_EQ(scene->actionMap->headerA, width.empty() ? 426 : width.toInt()) << name;
                // Every variable its boot commands read exists.
                Session::activeScene = scene;
                scene->activate();
                scene->deactivate(false);
            }
            Session::activeScene = nullptr;
            delete chapter;
        }
    }
    delete characters;
    // Every attribute of every object means something to it (a scene's "condition" to the scene).
    EXPECT_EQ(log().find("has no property"), std::string::npos) << log();
}
