#include "GuiTest.h"

using namespace nimboui;
using morvec::Rectangle;
using morvec::Vector2;

namespace {

class AnimatorTest : public GuiTest {
protected:
    void step(int count, float dt) {
        for (int i = 0; i < count; ++i) {
            target.update(dt);
        }
    }

    Object target{"Object", "inv", Rectangle(10, 20, 100, 50)};
};

} // namespace

TEST_F(AnimatorTest, EachLandsExactlyOnItsTarget) {
    Animators::Mover mover("inv_mover");
    Animators::Scaler scaler("inv_scaler");
    Animators::AlphaFader fader("inv_bg_fader");
    target.addChild(&mover);
    target.addChild(&scaler);
    target.addChild(&fader);
    mover.move(66.6f, -3.3f, 1.0f);
    scaler.scale(0.7f, 321.9f, 1.0f);
    fader.fade(1.0f, 1.0f);
    target.setAlpha(0.0f);
    step(50, 0.01f);
    EXPECT_NEAR(target.getX(), 10.0f + (66.6f - 10.0f) * 0.5f, 1e-3f);
    EXPECT_TRUE(fader.isRunning());
    step(50, 0.01f);
    EXPECT_EQ(target.getPosition(), Vector2(66.6f, -3.3f));
    EXPECT_EQ(target.getSize(), Vector2(0.7f, 321.9f));
    EXPECT_EQ(target.getAlpha(), 1.0f);
    EXPECT_FALSE(mover.isRunning());
    EXPECT_FALSE(fader.isRunning());
    // Steps of a third of a second and an instant fade.
    fader.fade(0.0f, 1.0f);
    step(3, 1.0f / 3.0f);
    EXPECT_EQ(target.getAlpha(), 0.0f);
    fader.fade(1.0f, 0.0f);
    EXPECT_EQ(target.getAlpha(), 1.0f);
    target.removeAllChildren();
}

TEST_F(AnimatorTest, AFadeWaitsForItsDelayAndStartsFromTheAlphaThen) {
    Animators::AlphaFader fader("inv_fader");
    target.addChild(&fader);
    fader.fade(0.0f, 1.0f, 0.5f);
    step(49, 0.01f);
    target.setAlpha(0.8f);
    step(1, 0.01f);
    EXPECT_FLOAT_EQ(target.getAlpha(), 0.8f);
    step(50, 0.01f);
    EXPECT_NEAR(target.getAlpha(), 0.4f, 1e-3f);
    step(50, 0.01f);
    EXPECT_EQ(target.getAlpha(), 0.0f);
    target.removeAllChildren();
}

TEST_F(AnimatorTest, ResetEndsARunOrADelayAtTheTarget) {
    Animators::AlphaFader fader("inv_fader");
    Animators::Mover mover("inv_mover");
    target.addChild(&fader);
    target.addChild(&mover);
    fader.fade(0.0f, 2.0f, 5.0f);
    mover.move(0.0f, 0.0f, 2.0f);
    step(1, 0.1f);
    target.reset();
    EXPECT_EQ(target.getAlpha(), 0.0f);
    EXPECT_EQ(target.getPosition(), Vector2(0, 0));
    EXPECT_FALSE(fader.isRunning());
    step(300, 0.01f);
    EXPECT_EQ(target.getAlpha(), 0.0f);
    target.removeAllChildren();
}

TEST_F(GuiTest, AFadeTheDefinitionStartsRunsAgainAfterReset) {
    Dataset* ds = dataset("d", R"(<Dataset>
        <Object type="Object" name="logo" alpha="0.3">
            <Animator type="AlphaFader" name="logo_fader" from="0" to="1" time="1" delay="0.5"/>
            <Animator type="Mover" name="logo_mover" to_x="100" time="1"/>
        </Object>
    </Dataset>)");
    ds->load();
    Object* logo = ds->getObject("logo");
    logo->update(0.0f);
    EXPECT_FLOAT_EQ(logo->getAlpha(), 0.3f);
    logo->update(0.5f);
    EXPECT_FLOAT_EQ(logo->getAlpha(), 0.0f);
    EXPECT_FLOAT_EQ(logo->getX(), 50.0f);
    logo->update(1.0f);
    EXPECT_EQ(logo->getAlpha(), 1.0f);
    EXPECT_EQ(logo->getPosition(), Vector2(100, 0));
    // A reset starts the definition's runs again at the next update...
    logo->setX(0);
    logo->reset();
    logo->update(0.5f);
    EXPECT_FLOAT_EQ(logo->getAlpha(), 0.0f);
    EXPECT_FLOAT_EQ(logo->getX(), 50.0f);
    // ...and a reset in the middle of a run ends it at its target first.
    logo->reset();
    EXPECT_EQ(logo->getAlpha(), 1.0f);
    EXPECT_EQ(logo->getX(), 100.0f);
}
