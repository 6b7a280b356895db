// The home page's tile: taps anywhere on it, image and title included, reach the actions added to it and
// nothing else does; its picture shows the image above the white title.
#include "kit/widgets/HomePageButton.h"

#include "OverlayTestFixture.h"
#include "SnapshotProbes.h"
#include "gfx/drawing/PixelBuffer.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/Label.h"
#include "ui/input/TouchDriver.h"

#include <vector>

namespace {

const gfx::Color tileBlue = gfx::Color::rgb(0.1, 0.3, 0.6);

// A solid orange square of `side` points at scale 1.
std::shared_ptr<gfx::Image> square(int side)
{
    std::vector<uint32_t> words(size_t(side) * side, 0xffe0a020);
    gfx::PixelBuffer buffer { reinterpret_cast<uint8_t*>(words.data()), side, side, size_t(side) * 4 };
    return gfx::Image::fromPixels(buffer, 1);
}

class HomePageButtonTest : public test::WidgetTest {
protected:
    void SetUp() override
    {
        test::WidgetTest::SetUp();
        backdrop->setBackgroundColor(tileBlue);
        window->addSubview(backdrop);
        tile->setImage(square(40));
        tile->setTitle("Location");
        backdrop->addSubview(tile);
        tile->addAction([this](ui::Control&) { ++taps; }, ui::ControlEvent::TouchUpInside);
        turn();
    }

    std::shared_ptr<ui::View> backdrop = std::make_shared<ui::View>(gfx::Rect { 0, 0, 320, 568 });
    std::shared_ptr<kit::HomePageButton> tile = kit::HomePageButton::make({ 100, 200, 90, 90 });
    ui::TouchDriver finger;
    int taps { 0 };
};

TEST_F(HomePageButtonTest, TapsOnImageTitleAndEmptyCornerAllReachTheActions)
{
    finger.tap({ 100 + 46, 200 + 35 });
    finger.tap({ 100 + 45, 200 + 75 });
    finger.tap({ 100 + 2, 200 + 2 });
    EXPECT_EQ(taps, 3);
    EXPECT_EQ(window->hitTest({ 146, 235 }, nullptr), tile->backgroundBtn());
}

TEST_F(HomePageButtonTest, TapsBesideTheTileAndDragsOffItDoNothing)
{
    finger.tap({ 100 + 95, 200 + 45 });
    finger.tap({ 100 + 45, 200 + 95 });
    finger.down({ 145, 245 }).moveTo({ 145, 400 }, base::Duration(0.2), 10).up();
    EXPECT_EQ(taps, 0);
}

TEST_F(HomePageButtonTest, ShowsTheImageAboveTheWhiteTitleOnWhatIsBehind)
{
    EXPECT_EQ(tile->title(), "Location");
    EXPECT_TRUE(test::shows(*tile, { 46, 35 }, gfx::Color::fromPremultipliedARGB(0xffe0a020)));
    EXPECT_TRUE(test::shows(*tile, { 3, 3 }, tileBlue)) << "the button over everything is clear";
    EXPECT_TRUE(test::showsText(*tile, "Location", { 10, 60, 70, 30 }));
    EXPECT_FALSE(test::showsText(*tile, "Location", { 0, 0, 90, 58 }));
    EXPECT_EQ(tile->titleLable()->textColor(), gfx::Color::white());
}

} // namespace
