#include "host/HeadlessHost.h"
#include "ui/view/Application.h"
#include "ui/view/Screen.h"

#include "SnapshotScene.h"
#include "base/ClockFixture.h"

#include <filesystem>

using test::SnapshotScene;

class HeadlessHost : public test::ManualClockTest {
protected:
    void SetUp() override
    {
        ManualClockTest::SetUp();
        ui::Screen::main().setBounds(ui::Screen::defaultBounds);
        ui::Screen::main().setScale(2);
        ui::Application::shared().setStatusBarHidden(false);
    }
    host::HeadlessHost host { LUMET_SNAPSHOT_DIR };
};

TEST_F(HeadlessHost, FramesAreTheScreenAtItsScale)
{
    auto scene = SnapshotScene::make();
    auto frame = host.renderFrame();
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->pixelWidth(), 640);
    EXPECT_EQ(frame->pixelHeight(), 1136);
    // The window's grey through the status strip, and the card's white inside its border.
    uint32_t strip = frame->pixel(600, 10);
    EXPECT_NEAR(int(strip & 0xFF), int(0.93 * 255), 1);
    EXPECT_EQ(strip, 0xFF000000u | (strip & 0xFF) * 0x010101u);
    EXPECT_EQ(frame->pixel(300, 100), gfx::Color::fromWhite(0.93, 1).premultipliedARGB());
    EXPECT_EQ(frame->pixel(300, 350), 0xFFFFFFFFu);
}

TEST_F(HeadlessHost, WritesTheSceneStillAndHalfWayThroughAnAnimation)
{
    auto scene = SnapshotScene::make();
    auto still = host.writeFrame("scene");
    ASSERT_TRUE(still);
    EXPECT_TRUE(std::filesystem::exists(*still));

    ui::View::animateWithDuration(1.0, 0, ui::AnimationOptions::CurveLinear, [&] {
        scene.card->setCenter({ 160, 420 });
        scene.card->setAlpha(0.2);
        scene.rotated->setTransform(gfx::AffineTransform::identity());
    });
    clock->advance(base::Duration(0.5));
    auto halfWay = host.renderFrame();
    ASSERT_TRUE(host.writeFrame("scene-half-way"));
    // Half-way the card's centre is at y = 290 points: its white shows there, faded towards the grey.
    uint32_t middle = halfWay->pixel(320, 580);
    EXPECT_NE(middle, gfx::Color::fromWhite(0.93, 1).premultipliedARGB());
    clock->advance(base::Duration(0.5));
    ASSERT_TRUE(host.writeFrame("scene-after"));
}

TEST_F(HeadlessHost, AnUnwritableFolderGivesNoFile)
{
    host::HeadlessHost nowhere("/proc/no-such-folder");
    auto scene = SnapshotScene::make();
    EXPECT_FALSE(nowhere.writeFrame("x"));
}
