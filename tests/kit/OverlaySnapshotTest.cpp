// Pictures of the overlays and small widgets as the screen shows them, written to the build folder's
// snapshots/ for people to look at; each test also probes the rendered screen for what must show where.
#include "kit/widgets/CheckBoxView.h"
#include "kit/progress/CircularProgressView.h"
#include "kit/progress/DiscProgressView.h"
#include "kit/widgets/LoadingCell.h"
#include "kit/modal/ModalPresenter.h"
#include "kit/overlay/NoticeOverlay.h"
#include "kit/overlay/ProgressOverlay.h"
#include "kit/progress/RoundProgressView.h"
#include "kit/overlay/TipAnimationView.h"
#include "kit/overlay/Toast.h"
#include "kit/widgets/TwoTitleButton.h"

#include "OverlayTestFixture.h"
#include "SnapshotProbes.h"
#include "host/HeadlessHost.h"
#include "ui/controls/ActivityIndicatorView.h"
#include "ui/controls/Label.h"

namespace {

using test::lightnessAt;
using test::shows;
using test::showsText;

const gfx::Color windowGrey = gfx::Color::fromWhite(0.93, 1);

class OverlaySnapshotTest : public test::WidgetTest {
protected:
    void SetUp() override
    {
        test::WidgetTest::SetUp();
        window->setBackgroundColor(gfx::Color::fromWhite(0.93, 1));
    }
    void TearDown() override
    {
        advance(10);
        test::WidgetTest::TearDown();
    }

    void expectFrame(const std::string& name)
    {
        auto path = host.writeFrame(name);
        ASSERT_TRUE(path);
        EXPECT_TRUE(std::filesystem::exists(*path));
    }

    std::shared_ptr<ui::Label> label(const gfx::Rect& frame, std::string text)
    {
        auto label = std::make_shared<ui::Label>(frame);
        label->setText(std::move(text));
        label->setTextAlignment(gfx::TextAlignment::Center);
        return label;
    }

    // Real text, for pictures.
    gfx::TextMeasurer::Override realText { nullptr };
    host::HeadlessHost host { LUMET_SNAPSHOT_DIR };
};

TEST_F(OverlaySnapshotTest, ProgressOverlayWithLabelAndDetails)
{
    auto screen = std::make_shared<ui::View>(gfx::Rect { 0, 20, 320, 548 });
    screen->setBackgroundColor(gfx::Color::rgb(0.2, 0.5, 0.8));
    window->addSubview(screen);
    screen->addSubview(label({ 0, 40, 320, 30 }, "Device list"));
    auto hud = kit::ProgressOverlay::makeForView(screen);
    screen->addSubview(hud);
    hud->setSquare(true);
    hud->setLabelText("Loading");
    hud->setDetailsLabelText("Asking the watch for its position");
    hud->setDimBackground(true);
    hud->show(true);
    advance(0.5);
    expectFrame("kit-progress-overlay");
    const gfx::Color blue = gfx::Color::rgb(0.2, 0.5, 0.8);
    // The dimmed backdrop darkens the corners; the dark box in the middle holds both texts.
    EXPECT_LT(lightnessAt(*screen, { 4, 540 }), lightnessAt(*screen, { 160, 120 }) - 0.2);
    EXPECT_LT(lightnessAt(*screen, { 160, 200 }), 0.8);
    EXPECT_TRUE(showsText(*screen, "Loading", { 60, 150, 200, 250 }));
    EXPECT_TRUE(showsText(*screen, "Asking the watch", { 0, 150, 320, 250 }));

    hud->setMode(kit::ProgressOverlayMode::Determinate);
    hud->setProgress(0.3f);
    hud->setDimBackground(false);
    advance(0.1);
    expectFrame("kit-progress-overlay-pie");
    EXPECT_TRUE(shows(*screen, { 4, 540 }, blue));
    EXPECT_TRUE(showsText(*screen, "Loading", { 60, 150, 200, 250 }));
}

TEST_F(OverlaySnapshotTest, NoticesForSuccessAndFailure)
{
    auto success = kit::NoticeOverlay::notifyHUDWithImage(gfx::Image::named("Checkmark"), "Saved");
    success->setCenter({ 160, 180 });
    window->addSubview(success);
    success->presentWithDuration(1.0, 0.5, {});
    auto failure = kit::NoticeOverlay::notifyHUDWithImage(gfx::Image::named("cha"), "The watch did not answer");
    failure->setCenter({ 160, 360 });
    window->addSubview(failure);
    failure->presentWithDuration(1.0, 0.5, {});
    advance(0.6);
    expectFrame("kit-notice");
    EXPECT_TRUE(shows(*window, { 5, 5 }, windowGrey));
    // Each notice is a dark body with its white mark and text; the window shows between them.
    const gfx::Color noticeBody = gfx::Color::fromWhite(0x3c / 255.0, 1);
    for (const auto& notice : { success, failure }) {
        EXPECT_TRUE(shows(*notice, { 4, notice->bounds().height() / 2 }, noticeBody, 4.0 / 255));
        EXPECT_TRUE(test::showsBoth(*notice, notice->bounds(), noticeBody, gfx::Color::white()));
    }
    EXPECT_TRUE(shows(*window, { 160, (success->frame().maxY() + failure->frame().minY()) / 2 }, windowGrey));
}

TEST_F(OverlaySnapshotTest, ToastsAndActivityToast)
{
    auto screen = std::make_shared<ui::View>(gfx::Rect { 0, 20, 320, 548 });
    window->addSubview(screen);
    kit::Toast::makeToast(screen, std::string("The settings reach the watch the next time it connects."), 3.0,
        std::string("bottom"), std::string("Saved"), gfx::Image::named("Checkmark"));
    kit::Toast::makeToast(screen, std::string("Top toast"), 3.0, std::string("top"));
    kit::Toast::makeToastActivity(screen);
    advance(0.3);
    expectFrame("kit-toast");
    // White writing on the toasts' near-black bodies at the top and at the bottom.
    const gfx::Color toastBody = gfx::Color::fromWhite(0x10 / 255.0, 1);
    EXPECT_TRUE(test::showsBoth(*screen, { 0, 0, 320, 120 }, toastBody, gfx::Color::white()));
    EXPECT_TRUE(test::showsBoth(*screen, { 0, 400, 320, 148 }, toastBody, gfx::Color::white()));
    EXPECT_FALSE(test::showsBoth(*screen, { 0, 160, 320, 60 }, toastBody, gfx::Color::white()));
    // The activity toast is a dark square in the middle.
    EXPECT_LT(lightnessAt(*screen, { 160 - 30, 274 }), 1.5);
    EXPECT_TRUE(shows(*screen, { 5, 200 }, windowGrey));
}

TEST_F(OverlaySnapshotTest, ModalPanelWithCloseButton)
{
    auto presenter = kit::ModalPresenter::sharedInstance();
    auto panel = std::make_shared<ui::View>(gfx::Rect { 0, 0, 240, 160 });
    panel->setBackgroundColor(gfx::Color::white());
    panel->layer()->setCornerRadius(6);
    panel->addSubview(label({ 0, 60, 240, 40 }, "Choose a time"));
    presenter->setShowCloseButton(true);
    presenter->showWithContentView(panel, true);
    advance(0.5);
    expectFrame("kit-modal");
    // The radial shade: black at 0.44 alpha 155 points from the middle, over the window's grey.
    EXPECT_TRUE(shows(*window, { 5, 284 }, gfx::Color::fromWhite(0.93 * 0.564, 1), 4.0 / 255));
    EXPECT_LT(lightnessAt(*window, { 2, 2 }), lightnessAt(*window, { 5, 284 }) - 0.1);
    EXPECT_TRUE(shows(*panel, { 20, 20 }, gfx::Color::white()));
    EXPECT_TRUE(showsText(*panel, "Choose a time", { 0, 60, 240, 40 }));
    presenter->setBackgroundDisplayStyle(kit::ModalBackgroundStyle::Solid);
    advance(0.1);
    expectFrame("kit-modal-solid");
    EXPECT_TRUE(shows(*window, { 5, 284 }, gfx::Color::fromWhite(0.93 * 0.45, 1)));
    EXPECT_TRUE(shows(*window, { 2, 2 }, gfx::Color::fromWhite(0.93 * 0.45, 1)));
    presenter->hideAnimated(false);
    presenter->setShowCloseButton(false);
    presenter->setBackgroundDisplayStyle(kit::ModalBackgroundStyle::RadialGradient);
}

TEST_F(OverlaySnapshotTest, CheckBoxesOfEveryStyle)
{
    auto panel = std::make_shared<ui::View>(gfx::Rect { 0, 20, 320, 548 });
    panel->setBackgroundColor(gfx::Color::rgb(0.25, 0.45, 0.65));
    window->addSubview(panel);
    const char* names[] = { "Box", "Dark", "Glossy", "Green", "Mono" };
    for (int style = 0; style < 5; ++style) {
        for (int on = 0; on < 2; ++on) {
            auto box = kit::CheckBoxView::make({ 10.0 + 155 * on, 20.0 + 44 * style, 150, 50 }, style, on == 1);
            box->setText(std::string(names[style]) + (on ? " on" : " off"));
            panel->addSubview(box);
        }
    }
    auto disabled = kit::CheckBoxView::make({ 10, 250, 300, 36 }, kit::CheckBoxView::Mono, true);
    disabled->setText("Disabled");
    disabled->setEnabled(false);
    panel->addSubview(disabled);
    advance(0.1);
    expectFrame("kit-check-boxes");
    for (int style = 0; style < 5; ++style) {
        double y = 20.0 + 44 * style;
        EXPECT_TRUE(showsText(*panel, std::string(names[style]) + " off", { 10, y, 150, 50 })) << names[style];
        EXPECT_TRUE(showsText(*panel, std::string(names[style]) + " on", { 165, y, 150, 50 })) << names[style];
    }
    EXPECT_TRUE(showsText(*panel, "Disabled", { 10, 250, 300, 36 }));
    // Between the rows the panel's own colour shows.
    EXPECT_TRUE(shows(*panel, { 300, 400 }, gfx::Color::rgb(0.25, 0.45, 0.65)));
}

TEST_F(OverlaySnapshotTest, SmallWidgets)
{
    auto list = std::make_shared<ui::View>(gfx::Rect { 0, 64, 320, 504 });
    list->setBackgroundColor(gfx::Color::white());
    list->setClipsToBounds(true);
    window->addSubview(list);
    list->addSubview(kit::TipAnimationView::makeWithIsToDown(
        { 0, -34, 320, 34 }, true, "3 devices", gfx::Color::rgb(0.3, 0.7, 0.2)));

    const char* days[] = { "Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun" };
    for (int day = 0; day < 7; ++day) {
        auto button = kit::TwoTitleButton::make({ 20.0 + 40 * day, 80, 40, 44 });
        button->setTitle(days[day]);
        button->setSubtitle("06-0" + std::to_string(day + 2));
        button->setTextColor(gfx::Color::darkGray());
        list->addSubview(button);
    }

    auto cell = std::make_shared<kit::LoadingCell>();
    cell->setFrame({ 0, 160, 320, 44 });
    cell->lbl()->setText("Loading more");
    cell->loading()->startAnimating();
    list->addSubview(cell);
    advance(1.0);
    expectFrame("kit-small-widgets");
    // The tip has come down into the list's top.
    EXPECT_TRUE(shows(*list, { 4, 17 }, gfx::Color::rgb(0.3, 0.7, 0.2)));
    EXPECT_TRUE(test::showsBoth(*list, { 0, 0, 320, 34 }, gfx::Color::rgb(0.3, 0.7, 0.2), gfx::Color::white()));
    EXPECT_TRUE(showsText(*list, "Mon", { 20, 80, 40, 44 }));
    EXPECT_TRUE(showsText(*list, "06-08", { 260, 80, 40, 44 }));
    EXPECT_TRUE(showsText(*list, "Loading more", { 0, 160, 320, 44 }));
    EXPECT_TRUE(shows(*list, { 160, 300 }, gfx::Color::white()));
}

TEST_F(OverlaySnapshotTest, ProgressRings)
{
    auto ring = std::make_shared<kit::CircularProgressView>(gfx::Rect { 60, 60, 200, 200 });
    ring->setBackColor(gfx::Color::fromWhite(236.0 / 255, 1));
    ring->setProgressColor(gfx::Color::rgb(0.52, 0.8, 0.05));
    ring->setLineWidth(10);
    window->addSubview(ring);
    ring->setProgress(0.25f);

    auto dark = std::make_shared<ui::View>(gfx::Rect { 0, 300, 320, 268 });
    dark->setBackgroundColor(gfx::Color::rgb(0.15, 0.2, 0.3));
    window->addSubview(dark);
    auto disc = std::make_shared<kit::DiscProgressView>(gfx::Rect { 40, 60, 100, 100 });
    disc->setProgress(0.6f);
    dark->addSubview(disc);
    auto pie = std::make_shared<kit::RoundProgressView>(gfx::Rect { 200, 80, 60, 60 });
    pie->setProgress(0.4f);
    dark->addSubview(pie);
    advance(0.5);
    expectFrame("kit-progress-rings");
    // A quarter of the ring, from twelve o'clock clockwise, is in the progress colour; the rest is the track.
    EXPECT_TRUE(shows(*ring, { 100 + 67, 100 - 67 }, gfx::Color::rgb(0.52, 0.8, 0.05)));
    EXPECT_TRUE(shows(*ring, { 100 - 67, 100 + 67 }, gfx::Color::fromWhite(236.0 / 255, 1)));
    EXPECT_TRUE(shows(*ring, { 100, 100 }, windowGrey));
    // Six tenths of the disc's ring, clockwise from twelve o'clock, are white; nine o'clock is still the track.
    EXPECT_TRUE(shows(*disc, { 50 + 42, 50 }, gfx::Color::white()));
    EXPECT_LT(lightnessAt(*disc, { 50 - 42, 50 }), 2.4);
    EXPECT_GT(lightnessAt(*pie, { 30 + 10, 30 - 15 }), lightnessAt(*pie, { 30 - 10, 30 + 15 }) + 0.3);
}

} // namespace
