#include "kit/widgets/CheckBoxView.h"

#include "OverlayTestFixture.h"
#include "gfx/images/ImageContext.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/Label.h"
#include "ui/input/TouchDriver.h"

namespace {

class ChangeListener {
public:
    void changed(kit::CheckBoxView& box) { states.push_back(box.checked()); }
    std::vector<bool> states;
};

class CheckBoxTest : public test::WidgetTest {
protected:
    std::shared_ptr<kit::CheckBoxView> addBox(bool checked = false)
    {
        auto box = kit::CheckBoxView::make({ 20, 300, 200, 50 }, kit::CheckBoxView::Mono, checked);
        window->addSubview(box);
        return box;
    }

    static std::shared_ptr<gfx::Image> imageOfHeight(double height)
    {
        gfx::ImageContext::begin({ 20, height }, false, 1);
        auto image = gfx::ImageContext::image();
        gfx::ImageContext::end();
        return image;
    }

    // Presses inside the box and lifts at `end` (screen points).
    void pressAndLiftAt(gfx::Point end) { finger.down({ 100, 310 }).moveTo(end).up(); }

    ui::TouchDriver finger;
};

TEST_F(CheckBoxTest, AlwaysThirtySixPointsHighWithTheLabelBesideTheBox)
{
    auto box = addBox(true);
    EXPECT_EQ(box->frame(), (gfx::Rect { 20, 300, 200, 36 }));
    EXPECT_EQ(box->textLabel()->frame(), (gfx::Rect { 32, 7, 168, 20 }));
    EXPECT_EQ(box->textLabel()->font(), gfx::Font::named("Helvetica-Bold", 15));
    EXPECT_EQ(box->textLabel()->textColor(), gfx::Color::white());
    EXPECT_EQ(box->textLabel()->autoresizingMask(), ui::AutoresizingMask::FlexibleWidth);
    EXPECT_EQ(box->checkBoxImageView()->image(), gfx::Image::named("cb_mono_on"));
    EXPECT_EQ(box->checkBoxImageView()->frame(), (gfx::Rect { 5, 7, 22, 22 }));
    box->setChecked(false);
    EXPECT_EQ(box->checkBoxImageView()->image(), gfx::Image::named("cb_mono_off"));
}

TEST_F(CheckBoxTest, BoxImageIsCentredVerticallyRoundingDown)
{
    EXPECT_EQ(kit::CheckBoxView::imageViewFrameForCheckBoxImage(imageOfHeight(20)), (gfx::Rect { 5, 8, 20, 20 }));
    EXPECT_EQ(kit::CheckBoxView::imageViewFrameForCheckBoxImage(imageOfHeight(21)), (gfx::Rect { 5, 7, 20, 21 }));
}

TEST_F(CheckBoxTest, EveryStyleHasBothImagesAndOthersNone)
{
    for (int style = kit::CheckBoxView::Box; style <= kit::CheckBoxView::Mono; ++style) {
        EXPECT_TRUE(kit::CheckBoxView::checkBoxImageForStyle(style, true)) << style;
        EXPECT_TRUE(kit::CheckBoxView::checkBoxImageForStyle(style, false)) << style;
    }
    auto box = kit::CheckBoxView::make({ 0, 0, 100, 36 }, 5, true);
    EXPECT_FALSE(box->checkBoxImageView()->image());
    EXPECT_EQ(box->checkBoxImageView()->frame(), (gfx::Rect { 5, 18, 0, 0 }));
}

TEST_F(CheckBoxTest, TapFlipsTheStateAndDimsTheControlWhilePressed)
{
    auto box = addBox();
    std::vector<bool> reported;
    box->setStateChangedBlock([&](kit::CheckBoxView& b) { reported.push_back(b.checked()); });
    finger.down({ 100, 310 });
    EXPECT_EQ(box->alpha(), 0.8);
    finger.up();
    EXPECT_EQ(box->alpha(), 1.0);
    EXPECT_TRUE(box->checked());
    EXPECT_EQ(box->checkBoxImageView()->image(), gfx::Image::named("cb_mono_on"));
    finger.tap({ 100, 310 });
    EXPECT_EQ(reported, (std::vector<bool> { true, false }));
}

TEST_F(CheckBoxTest, TouchAreaReachesFiveLeftAndTenUp)
{
    auto box = addBox();
    EXPECT_EQ(box->touchArea(), (gfx::Rect { 15, 290, 205, 46 }));
    pressAndLiftAt({ 16, 320 });
    EXPECT_TRUE(box->checked());
    pressAndLiftAt({ 100, 291 });
    EXPECT_FALSE(box->checked());
    pressAndLiftAt({ 220, 320 });
    EXPECT_FALSE(box->checked());
    pressAndLiftAt({ 100, 336 });
    EXPECT_FALSE(box->checked());
}

TEST_F(CheckBoxTest, CancelledTouchRestoresTheAlphaWithoutAChange)
{
    auto box = addBox();
    finger.down({ 100, 310 }).cancel();
    EXPECT_EQ(box->alpha(), 1.0);
    EXPECT_FALSE(box->checked());
}

TEST_F(CheckBoxTest, SelectorWinsOverTheBlockWhileItsTargetLives)
{
    auto box = addBox();
    auto listener = std::make_shared<ChangeListener>();
    int blockCalls = 0;
    box->setStateChangedTarget(listener, &ChangeListener::changed);
    box->setStateChangedBlock([&](kit::CheckBoxView&) { ++blockCalls; });
    finger.tap({ 100, 310 });
    EXPECT_EQ(listener->states, (std::vector<bool> { true }));
    EXPECT_EQ(blockCalls, 0);
    box->setChecked(false);
    EXPECT_EQ(listener->states.size(), 1u);
    listener.reset();
    finger.tap({ 100, 310 });
    EXPECT_EQ(blockCalls, 1);
}

TEST_F(CheckBoxTest, DisabledBoxIsDimmedAndIgnoresTouches)
{
    auto box = addBox();
    box->setEnabled(false);
    EXPECT_EQ(box->checkBoxImageView()->alpha(), 0.6);
    EXPECT_FALSE(box->textLabel()->isEnabled());
    finger.down({ 100, 310 });
    EXPECT_EQ(box->alpha(), 1.0);
    finger.up();
    EXPECT_FALSE(box->checked());
    box->setEnabled(true);
    EXPECT_EQ(box->checkBoxImageView()->alpha(), 1.0);
}

} // namespace
