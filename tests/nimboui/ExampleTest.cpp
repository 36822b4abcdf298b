#include "GuiTest.h"
#include "nimbo/Image.h"
#include "runel/FontTtf.h"
#include "runel/Renderer.h"

using namespace nimboui;
using morvec::Vector2;

namespace {

// The documented example, copied into the test's folder with pictures made for it, and the text
// library running as in the game.
class ExampleTest : public GuiTest {
protected:
    void SetUp() override {
        runel::init();
        runelttf::init();
        std::filesystem::copy("tests/nimboui/data/example", dir / "example", std::filesystem::copy_options::recursive);
        picture("example/textures/gui.png", 128, 128, nimbo::Color(10, 20, 30));
        picture("example/textures/backdrop.png", 8, 6, nimbo::Color(40, 50, 60));
        picture("example/lightmaps/Hall_LM.png", 2, 2, nimbo::Color(200, 100, 50));
        std::filesystem::copy_file("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", dir / "example/DejaVuSans.ttf");
        setMacroCallback([this](const String& token) -> String {
            asked.push_back(token);
            return token == "$backdrop" ? "textures/backdrop.png" : "";
        });
    }
    void TearDown() override {
        // The text library goes first, as in the game; the datasets must not reach it afterwards.
        runelttf::destroy();
        runel::destroy();
        GuiTest::TearDown();
    }

    void picture(const std::string& name, int w, int h, const nimbo::Color& color) {
        std::filesystem::create_directories(std::filesystem::path(dir / name).parent_path());
        nimbo::Image(w, h, color).savePng(dir / name);
    }

    std::vector<String> asked;
};

class SceneCatcher : public Dataset {
public:
    using Dataset::Dataset;
    void parseCustomNode(vessxml::Node* element) override {
        scenes.push_back(element->pstr("name"));
        sceneImage = getImage(element->pstr("image"));
    }
    std::vector<String> scenes;
    Image* sceneImage = nullptr;
};

} // namespace

TEST_F(ExampleTest, TheDocumentedExampleLoads) {
    setDefaultScale(8.0f / 15.0f);
    setLocalization("de");
    auto* ds = new SceneCatcher(dir / "example/example.datadef", "example");
    ds->load();
    EXPECT_EQ(asked, std::vector<String>{"$backdrop"});
    EXPECT_EQ(ds->getText("TITLE"), "Die Halle");
    EXPECT_EQ(ds->getText("OK"), "OK");
    EXPECT_EQ(ds->scenes, std::vector<String>{"Hall"});
    EXPECT_EQ(ds->sceneImage, ds->getImage("bg"));

    Object* ui = ds->getObject("ui");
    std::vector<String> names;
    for (Object* child : ui->getChildren()) {
        names.push_back(child->getName());
    }
    EXPECT_EQ(names, (std::vector<String>{"backdrop", "ok_button", "title", "panel", "held_item"}));
    EXPECT_FLOAT_EQ(ds->getObject("ok_button")->getWidth(), 64 * 8.0f / 15.0f);
    EXPECT_FLOAT_EQ(ds->getObject("ok_button")->getHeight(), 32 * 8.0f / 15.0f);
    EXPECT_FLOAT_EQ(ds->getObject("backdrop")->getWidth(), 8 * 8.0f / 15.0f);
    EXPECT_FLOAT_EQ(ds->getObject("backdrop")->getHeight(), 6 * 8.0f / 15.0f);
    EXPECT_EQ(dynamic_cast<Label*>(ds->getObject("title"))->getDisplayedText(), "Die Halle");
    auto* held = dynamic_cast<ImageBox*>(ds->getObject("held_item"));
    EXPECT_FALSE(held->isVisible());
    EXPECT_EQ(held->getImageName(), "$held_item");

    auto* walkWest = dynamic_cast<CompositeImage*>(ds->getImage("hero/Walk_W.01"));
    ASSERT_NE(walkWest, nullptr);
    ASSERT_EQ(walkWest->getImageRefs().size(), 1u);
    EXPECT_TRUE(walkWest->getImageRefs()[0].image->isInvertedX());
    EXPECT_FALSE(ds->getImage("_hero/Walk_E.01")->isInvertedX());
    EXPECT_EQ(walkWest->getImageRefs()[0].rect, morvec::Rectangle(12, 0, 60, 40));

    Object* panel = ds->getObject("panel");
    ui->update(1.0f);
    EXPECT_EQ(panel->getAlpha(), 0.0f);
    ui->update(0.5f);
    EXPECT_EQ(panel->getAlpha(), 1.0f);

    EXPECT_EQ(ds->getRamTexture("Hall_LM")->getInterpolatedPixel(0.5f, 0.5f), nimbo::Color(200, 100, 50));
    EXPECT_TRUE(runel::renderer->hasFont("sans"));
}

TEST_F(ExampleTest, FontsStayWithTheTextRendererAcrossReloads) {
    auto* ds = new Dataset(dir / "example/example.datadef", "example");
    ds->load();
    runel::Font* font = runel::renderer->findFont("sans").font;
    ds->unload();
    EXPECT_EQ(runel::renderer->findFont("sans").font, font);
    ds->load();
    EXPECT_EQ(runel::renderer->findFont("sans").font, font);
    EXPECT_GT(dynamic_cast<Label*>(ds->getObject("title"))->getTextHeight(), 0.0f);
}
