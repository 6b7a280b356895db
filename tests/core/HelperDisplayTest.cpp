// The busy overlay and the short notice as the screens show them through Helper.
#include "base/ClockFixture.h"
#include "core/helpers/Helper.h"
#include "kit/overlay/NoticeOverlay.h"
#include "kit/overlay/ProgressOverlay.h"
#include "ui/view/Screen.h"
#include "ui/view/Window.h"

using namespace std::chrono_literals;

namespace {

class HelperDisplay : public test::ManualClockTest {
protected:
    void SetUp() override
    {
        ManualClockTest::SetUp();
        ui::Screen::main().setBounds(ui::Screen::defaultBounds);
        parent = std::make_shared<ui::View>(gfx::Rect { 0, 0, 320, 400 });
        window->addSubview(parent);
        window->makeKeyAndVisible();
    }
    void TearDown() override
    {
        clock->advance(5s);
        window->setHidden(true);
        ManualClockTest::TearDown();
    }

    std::shared_ptr<ui::Window> window = std::make_shared<ui::Window>();
    std::shared_ptr<ui::View> parent;
};

TEST_F(HelperDisplay, TheBusyOverlayIsASquareLabelledBoxAndLeavesWhenHidden)
{
    auto hud = kit::ProgressOverlay::makeForView(parent);
    core::Helper::showHUD("loading", parent, hud);
    EXPECT_EQ(hud->superview(), parent);
    EXPECT_FLOAT_EQ(hud->opacity(), 0.64f);
    EXPECT_TRUE(hud->isSquare());
    EXPECT_EQ(hud->labelText(), "loading");
    clock->advance(1s);
    EXPECT_EQ(hud->alpha(), 1);

    hud->hide(true);
    clock->advance(1s);
    EXPECT_FALSE(hud->superview());
}

TEST_F(HelperDisplay, TheNoticeShowsItsImageCentredForASecondThenLeavesAndCompletes)
{
    int completions = 0;
    core::Helper::showNotify(false, "bad_netword", parent, [&] { ++completions; });
    ASSERT_EQ(parent->subviews().size(), 1u);
    auto notice = std::dynamic_pointer_cast<kit::NoticeOverlay>(parent->subviews()[0]);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->text(), "bad_netword");
    EXPECT_EQ(notice->image(), gfx::Image::named("cha"));
    EXPECT_EQ(notice->center(), (gfx::Point { 160, 200 }));
    EXPECT_DOUBLE_EQ(notice->destinationOpacity(), 0.95);

    clock->advance(1.9s);
    EXPECT_EQ(notice->superview(), parent) << "fades in 0.5 s, stays 1 s, fades out 0.5 s";
    EXPECT_EQ(completions, 0);
    clock->advance(0.2s);
    EXPECT_FALSE(notice->superview());
    EXPECT_EQ(completions, 1);

    core::Helper::showNotify(true, "success", parent, {});
    auto success = std::dynamic_pointer_cast<kit::NoticeOverlay>(parent->subviews().at(0));
    EXPECT_EQ(success->image(), gfx::Image::named("Checkmark"));
}

} // namespace
