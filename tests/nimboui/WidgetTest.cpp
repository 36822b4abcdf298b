#include "GuiTest.h"

using namespace nimboui;
using morvec::Rectangle;
using morvec::Vector2;

namespace {

const char* const WIDGETS = R"(<Dataset>
    <Texture name="t" file="t.png" on_demand="1"/>
    <Image name="door" texture="t" w="30" h="60"/>
    <Image name="up" texture="t" w="20" h="10"/>
    <Image name="hover" texture="t" x="20" w="20" h="10"/>
    <Image name="down" texture="t" x="40" w="20" h="10"/>
    <Image name="lying" texture="t" w="40" h="10" rotated="1"/>
    <Object type="ImageBox" name="adopting" image="door"/>
    <Object type="ImageBox" name="fixed" w="5" h="-1" image="door"/>
    <Object type="ImageButton" name="button" w="20" h="10" image="up" hover_image="hover" pushed_image="down"/>
    <Object type="TextButton" name="ok" w="40" h="10" color="FFFFFF" hover_color="FFFF00" pushed_color="FF7F00"/>
</Dataset>)";

} // namespace

TEST_F(GuiTest, ASizeOfMinusOneTakesTheImagesSize) {
    setDefaultScale(0.5f);
    Dataset* ds = dataset("d", WIDGETS);
    ds->load();
    EXPECT_EQ(ds->getObject("adopting")->getSize(), Vector2(15, 30));
    EXPECT_EQ(ds->getObject("fixed")->getSize(), Vector2(5, 30));
    EXPECT_EQ(ds->getImage("lying")->getSize(), Vector2(5, 20));
    auto* box = new ImageBox("late", Rectangle(0, 0, -1, -1));
    ds->registerManualObject(box);
    // A sizeless image leaves the size to adopt for the next one.
    box->setImageByName("null");
    EXPECT_EQ(box->getSize(), Vector2(-1, -1));
    box->setImageByName("up");
    EXPECT_EQ(box->getSize(), Vector2(10, 5));
    box->setImageByName("door");
    EXPECT_EQ(box->getSize(), Vector2(10, 5));
}

TEST_F(GuiTest, TheImageNameIsTheNameAsGiven) {
    Dataset* ds = dataset("d", WIDGETS);
    ds->load();
    auto* box = dynamic_cast<ImageBox*>(ds->getObject("adopting"));
    struct Case {
        const char* given;
        const char* name;
        const char* shown;
    };
    const Case cases[] = {
        {"door", "door", "door"},
        {"d.up", "d.up", "up"},
        {"$held_item", "$held_item", "null"},
        {"no_such_image", "no_such_image", "null"},
        {"0xCAFEBABE", "0xCAFEBABE", "0xCAFEBABE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        box->setImageByName(c.given);
        EXPECT_EQ(box->getImageName(), c.name);
        ASSERT_NE(box->getImage(), nullptr);
        EXPECT_EQ(box->getImage()->getName(), c.shown);
    }
    box->setImage(ds->getImage("up"));
    EXPECT_EQ(box->getImageName(), "up");
    ImageBox orphan("orphan", Rectangle(0, 0, -1, -1));
    orphan.setImageByName("d.door");
    EXPECT_EQ(orphan.getImage(), ds->getImage("door"));
    orphan.setImageByName("door");
    EXPECT_EQ(orphan.getImage()->getName(), "null");
}

TEST_F(GuiTest, ButtonsShowTheirStateImagesAndColours) {
    Dataset* ds = dataset("d", WIDGETS);
    ds->load();
    Object root("Object", "ui", Rectangle(0, 0, 426, 320));
    auto* button = dynamic_cast<ImageButton*>(ds->getObject("button"));
    auto* ok = dynamic_cast<TextButton*>(ds->getObject("ok"));
    root.addChild(button);
    root.addChild(ok);
    ok->setX(100);
    EXPECT_EQ(button->getShownImage()->getName(), "up");
    root.OnMouseMove(5, 5);
    EXPECT_EQ(button->getShownImage()->getName(), "hover");
    root.OnMouseDown(5, 5, 1);
    EXPECT_EQ(button->getShownImage()->getName(), "down");
    EXPECT_EQ(button->getHoverImage(), ds->getImage("hover"));
    EXPECT_EQ(button->getPushedImage(), ds->getImage("down"));
    root.OnMouseUp(5, 5, 1);
    root.OnMouseMove(105, 5);
    EXPECT_EQ(button->getShownImage()->getName(), "up");
    // The text button answers for its own text and colours it by its state.
    EXPECT_EQ(root.getChildUnderPoint(105, 5), ok);
    EXPECT_EQ(ok->getShownColor(), nimbo::Color(255, 255, 0));
    root.OnMouseDown(105, 5, 1);
    EXPECT_EQ(ok->getShownColor(), nimbo::Color(255, 127, 0));
    ok->setState(TextButton::STATE_INACTIVE);
    EXPECT_EQ(ok->getShownColor(), nimbo::Color(255, 255, 255));
    ok->setState(TextButton::STATE_ACTIVE);
    root.OnMouseUp(105, 5, 1);
    EXPECT_EQ(ok->getShownColor(), nimbo::Color(255, 255, 0));
    // Without state colours of its own a button keeps its colour.
    TextButton plain("plain", Rectangle(200, 0, 40, 10));
    plain.setColor(nimbo::Color(1, 2, 3));
    root.addChild(&plain);
    root.OnMouseMove(205, 5);
    EXPECT_EQ(plain.getShownColor(), nimbo::Color(1, 2, 3));
    root.OnMouseDown(205, 5, 1);
    EXPECT_EQ(plain.getShownColor(), nimbo::Color(1, 2, 3));
    root.OnMouseUp(205, 5, 1);
    root.removeAllChildren();
}

TEST(RotationImageBox, SetAngleTurnsNothingAndADestinationTurnsAtSpeed) {
    RotationImageBox piece("piece", Rectangle(0, 0, 10, 10));
    EXPECT_GT(piece.getSpeed(), 0.0f);
    piece.setAngle(90.0f);
    EXPECT_FALSE(piece.isRotating());
    EXPECT_EQ(piece.getAngle(), 90.0f);
    piece.setSpeed(360.0f);
    piece.setDestAngle(135.0f);
    EXPECT_TRUE(piece.isRotating());
    piece.update(0.0625f);
    EXPECT_FLOAT_EQ(piece.getAngle(), 112.5f);
    piece.update(1.0f);
    EXPECT_EQ(piece.getAngle(), 135.0f);
    EXPECT_FALSE(piece.isRotating());
    piece.setDestAngle(-45.0f);
    for (int i = 0; i < 100; ++i) {
        piece.update(0.01f);
    }
    EXPECT_EQ(piece.getAngle(), -45.0f);
    piece.setAngle(0.0f);
    piece.setDestAngle(30.0f);
    piece.setAngle(10.0f);
    EXPECT_FALSE(piece.isRotating());
    RotatableImageBox* alias = &piece;
    EXPECT_EQ(alias->getDestAngle(), 10.0f);
}

TEST(RotationImageBox, AnglesCompareModuloAFullTurn) {
    struct Case {
        float a;
        float b;
        bool equal;
    };
    const Case cases[] = {{0, 0, true},     {360, 0, true},   {-360, 0, true},        {720.4f, 0, true},
                          {0.5f, 0, true},  {0.6f, 0, false}, {359.6f, 0, true},      {-0.4f, 0, true},
                          {45, -315, true}, {90, 270, false}, {179.5f, -180.0f, true}};
    for (const Case& c : cases) {
        EXPECT_EQ(RotationImageBox::angleEquals(c.a, c.b), c.equal) << c.a << " " << c.b;
    }
}
