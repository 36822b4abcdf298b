#include "GuiTest.h"
#include "vessot/File.h"
#include "vessot/Log.h"

#include <map>

using namespace nimboui;

namespace {

// A texture whose file is never read (on demand) and images on it, for lookups.
const char* const IMAGES_UI = R"(<Dataset>
    <Texture name="t" file="none.png" on_demand="1"/>
    <Image name="button" texture="t" w="10" h="10"/>
    <Image name="RO_SHIP.COCKPIT" texture="t" w="4" h="4"/>
</Dataset>)";

const char* const IMAGES_CHARACTERS = R"(<Dataset>
    <Texture name="t" file="none.png" on_demand="1"/>
    <Image name="vorne/Walk_E.01" texture="t" w="20" h="30"/>
    <Object type="ImageBox" name="vorne" image="vorne/Walk_E.01"/>
</Dataset>)";

// Records what the engine's hooks receive.
class RecordingDataset : public Dataset {
public:
    using Dataset::Dataset;

    void parseCustomNode(vessxml::Node* element) override { customNodes.push_back(element->getName()); }
    Object* createCustomObject(vessxml::Node*, const String& name, const morvec::Rectangle& rect) override;
    void onCallback(const String& name) override { callbacks.push_back(name); }

    std::vector<String> customNodes;
    std::vector<String> callbacks;
};

// An object that keeps every property it is given, in order.
class Recorder : public Object {
public:
    Recorder(const String& name, const morvec::Rectangle& rect) : Object("Recorder", name, rect) { ++alive; }
    ~Recorder() override { --alive; }
    bool setProperty(const String& name, const String& value) override {
        if (name == "fail") {
            throw _GenericException("refused property");
        }
        properties.emplace_back(name, value);
        return true;
    }
    std::vector<std::pair<String, String>> properties;
    static int alive;
};

int Recorder::alive = 0;

Object* RecordingDataset::createCustomObject(vessxml::Node*, const String& name, const morvec::Rectangle& rect) {
    return new Recorder(name, rect);
}

} // namespace

TEST_F(GuiTest, NamesResolveThroughTheDatasetBeforeTheFirstDot) {
    Dataset* ui = dataset("ui", IMAGES_UI);
    Dataset* characters = dataset("characters", IMAGES_CHARACTERS);
    ui->load();
    characters->load();
    struct Case {
        const char* name;
        Dataset* holder;
        const char* found;
    };
    const Case cases[] = {
        {"button", ui, "button"},
        {"ui.button", ui, "button"},
        {"characters.vorne/Walk_E.01", characters, "vorne/Walk_E.01"},
        // The part before the dot names no dataset: the whole name is a local key.
        {"RO_SHIP.COCKPIT", ui, "RO_SHIP.COCKPIT"},
        {"ui.RO_SHIP.COCKPIT", ui, "RO_SHIP.COCKPIT"},
        {"null", nullptr, "null"},
        {"characters.0xCAFEBABE", nullptr, "0xCAFEBABE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image* image = ui->getImage(c.name);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->getName(), c.found);
        if (c.holder) {
            EXPECT_EQ(c.holder->findImage(c.found), image);
        }
    }
    EXPECT_EQ(ui->getObject("characters.vorne"), characters->getObject("vorne"));
    EXPECT_EQ(ui->findImage("characters.button"), nullptr);
    EXPECT_EQ(ui->findObject("vorne"), nullptr);
    try {
        ui->getImage("characters.missing");
        FAIL();
    } catch (const _ResourceNotExistsException& e) {
        EXPECT_EQ(e.message(), "Image 'missing' does not exist in dataset 'characters'");
    }
    EXPECT_THROW(ui->getTexture("nope"), _ResourceNotExistsException);
    EXPECT_THROW(ui->getRamTexture("nope"), _ResourceNotExistsException);
    EXPECT_EQ(getDatasetByName("characters"), characters);
    EXPECT_EQ(getDatasetByName("menu"), nullptr);
}

TEST_F(GuiTest, ALaterNameReplacesTheIndexEntryAndBothStayOwned) {
    RecordingDataset* ds = new RecordingDataset(write("d/d.datadef", R"(<Dataset>
        <Object type="Recorder" name="twin" x="1"/>
        <Object type="Recorder" name="twin" x="2"/>
    </Dataset>)"),
                                                "d");
    ds->load();
    EXPECT_EQ(ds->getObject("twin")->getX(), 2.0f);
    EXPECT_EQ(ds->getObjects().size(), 2u);
    EXPECT_EQ(Recorder::alive, 2);
    ds->unload();
    EXPECT_EQ(Recorder::alive, 0);
    EXPECT_FALSE(ds->isLoaded());
}

TEST_F(GuiTest, PropertiesReachSetPropertyInDocumentOrderAsWritten) {
    RecordingDataset* ds = new RecordingDataset(write("d/d.datadef", "<Dataset/>"), "d");
    ds->load();
    Object* parent = new Object("Object", "parent", morvec::Rectangle(0, 0, 10, 10));
    ds->registerManualObject(parent);
    setMacroCallback([](const String&) -> String { return "expanded"; });
    Object* made = parse(ds,
                         R"(<Object type="Recorder" name="ref" x="3" y="4" image="$var" zbase="1.2">
                              <Property name="position_if:$door_open==1" value="120,200,E"/>
                              <Property name="Animation:Walk" value="8,1.0"/>
                              <Object type="Recorder" name="inner"/>
                            </Object>)",
                         parent);
    auto* ref = dynamic_cast<Recorder*>(made);
    ASSERT_NE(ref, nullptr);
    std::vector<std::pair<String, String>> expected = {
        {"image", "$var"}, {"zbase", "1.2"}, {"position_if:$door_open==1", "120,200,E"}, {"Animation:Walk", "8,1.0"}};
    EXPECT_EQ(ref->properties, expected);
    EXPECT_EQ(ref->getPosition(), morvec::Vector2(3, 4));
    EXPECT_EQ(ref->getSize(), morvec::Vector2(-1, -1));
    EXPECT_EQ(ref->getParent(), parent);
    EXPECT_EQ(ref->getDataset(), ds);
    ASSERT_EQ(ref->getChildren().size(), 1u);
    EXPECT_EQ(ref->getChildren()[0], ds->getObject("inner"));
    EXPECT_EQ(ds->getObject("ref"), ref);
}

TEST_F(GuiTest, UnknownElementsGoToTheCustomHookAfterEveryResource) {
    // The Scene element stands before the image it uses: resources are read first.
    RecordingDataset* ds = new RecordingDataset(write("d/d.datadef", R"(<Dataset>
        <Scene name="Hall" image="hall"/>
        <Texture name="t" file="t.png" on_demand="1"/>
        <Image name="hall" texture="t" w="8" h="8"/>
        <Whatever/>
    </Dataset>)"),
                                                "d");
    ds->load();
    EXPECT_EQ(ds->customNodes, (std::vector<String>{"Scene", "Whatever"}));
    ds->triggerCallback("OnPMDeleteOk");
    EXPECT_EQ(ds->callbacks, std::vector<String>{"OnPMDeleteOk"});
    Dataset* plain = dataset("plain", "<Dataset/>");
    EXPECT_THROW(plain->triggerCallback("x"), _ResourceNotExistsException);
}

TEST_F(GuiTest, BadDefinitionsNameTheFileTheLineAndTheElement) {
    struct Case {
        const char* definition;
        const char* message;
        int line;
    };
    const Case cases[] = {
        {"<Dataset>\n<Object type='ImageBox' name='a'>\n</Dataset>", "malformed XML", 3},
        {"<Dataset>\n\n<Object type='Gizmo' name='g'/>\n</Dataset>",
         ":3: element 'Object': unknown object type 'Gizmo'", 3},
        {"<Dataset>\n<Texture name='t' file='missing.png'/>\n</Dataset>", "element 'Texture': File not found: ", 2},
        {"<Dataset>\n<Texture name='t' file='x.png' on_demand='1'/>\n<Image name='i' texture='u'/>\n</Dataset>",
         ":3: element 'Image': Texture 'u' does not exist in dataset 'bad'", 3},
        {"<Dataset>\n<Texts file='texts/broken.xml'/>\n</Dataset>", "element 'Texts': ", 2},
        {"<Dataset>\n<Texts file='texts/missing.xml'/>\n</Dataset>", "element 'Texts': File not found", 2},
        {"<Dataset>\n<Animator name='f'/>\n</Dataset>", "element 'Animator': missing attribute 'type'", 2},
        {"<Dataset>\n<Object type='ImageBox' name='b' color='12'/>\n</Dataset>", "element 'Object': Color format", 2},
        {"<Chapter/>", "the root element of a dataset definition must be 'Dataset'", 1},
    };
    write("bad/texts/broken.xml", "<Texts>\n<Text key='a'>x</Texts>");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.definition);
        Dataset* ds = dataset("bad", c.definition);
        try {
            ds->load();
            ADD_FAILURE() << "no error";
        } catch (const vessot::exception& e) {
            EXPECT_NE(e.message().find("bad.datadef"), std::string::npos) << e.message();
            EXPECT_NE(e.message().find(c.message), std::string::npos) << e.message();
            EXPECT_EQ(e.line(), c.line) << e.message();
        }
        EXPECT_FALSE(ds->isLoaded());
        delete ds;
    }
}

TEST_F(GuiTest, AHalfFailedLoadKeepsNothingAndCanBeUnloadedAndLoadedAgain) {
    std::string definition = R"(<Dataset>
        <Texture name="t" file="t.png" on_demand="1"/>
        <Image name="i" texture="t" w="8" h="8"/>
        <Object type="Recorder" name="a">
            <Object type="Recorder" name="b"/>
            <Object type="Recorder" name="c" fail="1"/>
        </Object>
    </Dataset>)";
    RecordingDataset* ds = new RecordingDataset(write("d/d.datadef", definition), "d");
    EXPECT_THROW(ds->load(), _GenericException);
    EXPECT_EQ(Recorder::alive, 0);
    EXPECT_FALSE(ds->isLoaded());
    EXPECT_EQ(ds->findObject("a"), nullptr);
    EXPECT_EQ(ds->findImage("i"), nullptr);
    EXPECT_TRUE(ds->getTextures().empty());
    ds->unload();
    write("d/d.datadef", definition.replace(definition.find(" fail=\"1\""), 9, ""));
    ds->load();
    EXPECT_TRUE(ds->isLoaded());
    EXPECT_EQ(Recorder::alive, 3);
    EXPECT_EQ(ds->getObject("c")->getParent(), ds->getObject("a"));
}

TEST_F(GuiTest, TextsFallBackKeyByKeyToTheDefaultLanguage) {
    write("t/texts/en.xml", "<Texts><Text key='TITLE'>The Hall</Text><Text key='OK'>OK</Text></Texts>");
    write("t/texts/de.xml", "<Texts><Text key='TITLE'>Die Halle</Text></Texts>");
    const char* definition = R"(<Dataset>
        <Texts lang="de" file="texts/de.xml"/>
        <Texts file="texts/en.xml"/>
    </Dataset>)";
    Dataset* ds = dataset("t", definition);
    ds->load();
    EXPECT_EQ(ds->getText("TITLE"), "The Hall");
    setLocalization("de");
    ds->load();
    EXPECT_EQ(ds->getText("TITLE"), "Die Halle");
    EXPECT_EQ(ds->getText("OK"), "OK");
    EXPECT_EQ(ds->getText("t.OK"), "OK");
    EXPECT_TRUE(ds->textExists("OK"));
    EXPECT_FALSE(ds->textExists("NOPE"));
    // A missing key shows a placeholder and is logged once over every lookup, as an error naming it.
    vessot::Log::setFilename(dir / "game.log", true);
    EXPECT_EQ(ds->getText("NOPE"), "ERROR: text 'NOPE' not found!<p5>");
    ds->getText("NOPE");
    ds->getText("NOPE");
    EXPECT_EQ(vessot::File::hread(dir / "game.log"), "[nimboui] ERROR: text 'NOPE' not found in dataset 't'\n");
    vessot::Log::reset();
    std::map<String, String> table = ds->getTexts();
    EXPECT_EQ(table.size(), 2u);
    EXPECT_EQ(table["TITLE"], "Die Halle");
}

TEST_F(GuiTest, SettersHoldWhenCalledBeforeInit) {
    setDefaultScale(8.0f / 15.0f);
    setLocalization("fr");
    setForcedDynamicLoading(true);
    setTextureIdleUnloadTime(10.0f);
    setCursorPosition(-100.0f, -100.0f);
    init();
    EXPECT_TRUE(isInitialized());
    EXPECT_FLOAT_EQ(getDefaultScale(), 0.53333336f);
    EXPECT_EQ(getLocalization(), "fr");
    EXPECT_TRUE(isForcedDynamicLoading());
    EXPECT_FLOAT_EQ(getTextureIdleUnloadTime(), 10.0f);
    EXPECT_EQ(getCursorPosition(), morvec::Vector2(-100, -100));
}

TEST_F(GuiTest, MacrosExpandFileAttributesOnly) {
    std::vector<String> asked;
    setMacroCallback([&](const String& token) -> String {
        asked.push_back(token);
        return token == "$mainmenu" ? "scenes/MainMenu_hd.png" : "macro_error(" + token + ")";
    });
    Dataset* ds = dataset("m", R"(<Dataset>
        <Texture name="menu" file="$mainmenu" on_demand="1"/>
        <Texture name="plain" file="plain.png" on_demand="1"/>
        <Image name="$mainmenu" texture="menu" w="4" h="4"/>
        <Object type="ImageBox" name="box" image="$mainmenu"/>
    </Dataset>)");
    ds->load();
    EXPECT_EQ(asked, std::vector<String>{"$mainmenu"});
    EXPECT_EQ(ds->getTexture("menu")->getFilename(), ds->getFilePath() + "/scenes/MainMenu_hd.png");
    EXPECT_EQ(ds->getTexture("plain")->getFilename(), ds->getFilePath() + "/plain.png");
    auto* box = dynamic_cast<ImageBox*>(ds->getObject("box"));
    EXPECT_EQ(box->getImageName(), "$mainmenu");
}

TEST_F(GuiTest, TheFolderStaysWhileTheDefinitionPathIsSwapped) {
    Dataset* ds = new Dataset("data/chapters/ship/ship_hd.datadef", "ship");
    EXPECT_EQ(ds->getFilePath(), "data/chapters/ship");
    ds->setDefinitionFilePath("data/chapters/ship/scenes/Cockpit.scene");
    EXPECT_EQ(ds->getFilePath(), "data/chapters/ship");
    EXPECT_EQ(ds->getDefinitionFilePath(), "data/chapters/ship/scenes/Cockpit.scene");
    EXPECT_EQ(ds->getName(), "ship");
}

TEST_F(GuiTest, DestroyDeletesEveryDatasetAndADeletedOneIsUnregistered) {
    Dataset* a = dataset("a", "<Dataset/>");
    dataset("b", "<Dataset/>");
    delete a;
    EXPECT_EQ(getDatasetByName("a"), nullptr);
    EXPECT_EQ(getDatasets().size(), 1u);
    destroy();
    EXPECT_EQ(getDatasetByName("b"), nullptr);
    EXPECT_TRUE(getDatasets().empty());
}

TEST_F(GuiTest, EachTextureIsAdvancedByItsOwnUpdateOnly) {
    Dataset* ds = dataset("d", "<Dataset><Texture name='t' file='t.png' on_demand='1'/></Dataset>");
    ds->load();
    Texture* held = ds->getTexture("t");
    Texture free("code.png", true);
    updateTextures(1.0f);
    EXPECT_FLOAT_EQ(free.getIdleTime(), 1.0f);
    EXPECT_FLOAT_EQ(held->getIdleTime(), 0.0f);
    ds->updateTextures(2.0f);
    EXPECT_FLOAT_EQ(free.getIdleTime(), 1.0f);
    EXPECT_FLOAT_EQ(held->getIdleTime(), 2.0f);
}

TEST_F(GuiTest, ManualRegistrationsBelongToTheDataset) {
    Dataset* ds = dataset("d", "<Dataset/>");
    auto* frame = new CompositeImage("hero/Walk_E.01", 80, 40);
    ds->registerManualImage(frame);
    auto* piece = new ImageBox("piece", morvec::Rectangle(0, 0, -1, -1));
    ds->registerManualObject(piece);
    EXPECT_EQ(ds->getImage("hero/Walk_E.01"), frame);
    EXPECT_EQ(ds->getObject("piece"), piece);
    EXPECT_EQ(piece->getDataset(), ds);
    piece->setImageByName("hero/Walk_E.01");
    EXPECT_EQ(piece->getSize(), morvec::Vector2(80, 40));
}
