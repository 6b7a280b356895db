#include "kit/overlay/ProgressOverlay.h"
#include "kit/overlay/ProgressOverlayBackdrop.h"
#include "kit/progress/RoundProgressView.h"

#include "OverlayTestFixture.h"
#include "SnapshotProbes.h"
#include "base/values/Exception.h"
#include "ui/controls/ActivityIndicatorView.h"
#include "ui/controls/Label.h"

#include <thread>

namespace {

class CountingDelegate : public kit::ProgressOverlayDelegate {
public:
    CountingDelegate(bool withOverlay, bool plain)
        : m_withOverlay(withOverlay)
        , m_plain(plain)
    {
    }
    bool implementsHudWasHiddenWithOverlay() const override { return m_withOverlay; }
    bool implementsHudWasHidden() const override { return m_plain; }
    void hudWasHidden(kit::ProgressOverlay&) override { ++withOverlay; }
    void hudWasHidden() override { ++plain; }
    int withOverlay { 0 };
    int plain { 0 };

private:
    bool m_withOverlay;
    bool m_plain;
};

class ProgressOverlayTest : public test::WidgetTest {
protected:
    void SetUp() override
    {
        test::WidgetTest::SetUp();
        host = std::make_shared<ui::View>(gfx::Rect { 0, 0, 320, 480 });
        window->addSubview(host);
    }

    std::shared_ptr<kit::ProgressOverlay> overlayWithDelegate()
    {
        auto overlay = kit::ProgressOverlay::makeForView(host);
        host->addSubview(overlay);
        overlay->setDelegate(delegate);
        return overlay;
    }

    std::shared_ptr<ui::View> host;
    std::shared_ptr<CountingDelegate> delegate = std::make_shared<CountingDelegate>(true, false);
};

TEST_F(ProgressOverlayTest, NullHostRaises)
{
    try {
        kit::ProgressOverlay::makeForView(nullptr);
        FAIL() << "no exception";
    } catch (const base::Exception& e) {
        EXPECT_EQ(e.name(), "ProgressOverlayViewIsNilException");
        EXPECT_EQ(e.reason(), "The view used in the ProgressOverlay initializer is nil.");
    }
}

TEST_F(ProgressOverlayTest, LabelAndDetailsStackUnderTheIndicator)
{
    auto overlay = overlayWithDelegate();
    overlay->setLabelText("Loading");
    overlay->setDetailsLabelText("Please wait");
    overlay->layoutIfNeeded();
    // Spinner 37 x 37; label 7 x 8 by 20; details 11 x 6 by 15.
    EXPECT_EQ(overlay->indicator()->frame(), (gfx::Rect { 141, 200, 37, 37 }));
    EXPECT_EQ(overlay->label()->frame(), (gfx::Rect { 132, 241, 56, 20 }));
    EXPECT_EQ(overlay->detailsLabel()->frame(), (gfx::Rect { 127, 265, 66, 15 }));
    EXPECT_EQ(overlay->width(), 106);
    EXPECT_EQ(overlay->height(), 120);
    EXPECT_EQ(overlay->label()->textColor(), gfx::Color::white());
    EXPECT_EQ(overlay->label()->textAlignment(), gfx::TextAlignment::Center);
    EXPECT_EQ(overlay->detailsLabel()->numberOfLines(), 0);
}

TEST_F(ProgressOverlayTest, LongLabelIsClampedToTheHostLessFourMargins)
{
    auto overlay = overlayWithDelegate();
    overlay->setLabelText(std::string(40, 'x'));
    overlay->layoutIfNeeded();
    EXPECT_EQ(overlay->label()->frame().width(), 320 - 4 * 20);
    EXPECT_EQ(overlay->width(), 280);
}

TEST_F(ProgressOverlayTest, DetailsWithoutALabelAreNotLaidOut)
{
    auto overlay = overlayWithDelegate();
    overlay->setDetailsLabelText("Please wait");
    overlay->layoutIfNeeded();
    EXPECT_FALSE(overlay->detailsLabel()->superview());
    EXPECT_FALSE(overlay->label()->superview());
    EXPECT_EQ(overlay->height(), 77);
}

TEST_F(ProgressOverlayTest, SquareTakesEachSideThatTheHostAllows)
{
    // A custom indicator of 80 x 50 gives a box of 120 x 90 with the default margin.
    auto overlay = overlayWithDelegate();
    overlay->setCustomView(std::make_shared<ui::View>(gfx::Rect { 0, 0, 80, 50 }));
    overlay->setMode(kit::ProgressOverlayMode::CustomView);
    overlay->setSquare(true);
    overlay->layoutIfNeeded();
    EXPECT_EQ(overlay->width(), 120);
    EXPECT_EQ(overlay->height(), 120);

    overlay->setFrame({ 0, 0, 100, 480 });
    overlay->layoutIfNeeded();
    EXPECT_EQ(overlay->width(), 120);
    EXPECT_EQ(overlay->height(), 120);

    overlay->setFrame({ 0, 0, 320, 100 });
    overlay->layoutIfNeeded();
    EXPECT_EQ(overlay->width(), 120);
    EXPECT_EQ(overlay->height(), 90);
}

TEST_F(ProgressOverlayTest, MinimumSizeEnlargesButNeverShrinks)
{
    auto overlay = overlayWithDelegate();
    overlay->setMinSize({ 150, 50 });
    overlay->setNeedsLayout();
    overlay->layoutIfNeeded();
    EXPECT_EQ(overlay->width(), 150);
    EXPECT_EQ(overlay->height(), 77);
}

TEST_F(ProgressOverlayTest, BoxIsDrawnRoundedToNearestWhileTheIndicatorIsFloored)
{
    auto overlay = kit::ProgressOverlay::make({ 0, 0, 278, 400 });
    overlay->layoutIfNeeded();
    EXPECT_EQ(overlay->width(), 77);
    EXPECT_EQ(overlay->boxRect().origin.x, 101);
    EXPECT_EQ(overlay->indicator()->frame().origin.x, 120);
}

TEST_F(ProgressOverlayTest, TheBoxIsDrawnInAViewOfItsOwnSizeUnlessTheBackgroundIsDimmed)
{
    auto overlay = overlayWithDelegate();
    overlay->setOpacity(0.5f);
    overlay->setXOffset(0.5f);
    overlay->show(false);
    turn();
    gfx::Rect box = overlay->boxRect();
    auto backdrop = overlay->backdrop();
    EXPECT_EQ(overlay->subviews().front(), backdrop);
    EXPECT_EQ(backdrop->frame(), gfx::Rect(std::floor(box.minX()), box.minY(), box.width() + 1, box.height()));
    // The box is half-transparent black over the host's white; its rounded corner and the host around it are not.
    window->setBackgroundColor(gfx::Color::white());
    EXPECT_TRUE(test::shows(*host, { box.midX(), box.midY() }, gfx::Color::fromWhite(0.5, 1)));
    EXPECT_TRUE(test::shows(*host, { box.minX() + 1, box.minY() + 1 }, gfx::Color::white(), 0.1));
    EXPECT_TRUE(test::shows(*host, { box.minX() - 2, box.midY() }, gfx::Color::white()));

    // The veil reaches the overlay's corners: 0.75 black at 320 points from the centre, 0.67 at 287.
    overlay->setDimBackground(true);
    overlay->setNeedsLayout();
    turn();
    EXPECT_EQ(backdrop->frame(), overlay->bounds());
    EXPECT_TRUE(test::shows(*host, { 1, 1 }, gfx::Color::fromWhite(0.33, 1), 0.02));
}

TEST_F(ProgressOverlayTest, ModeChangesRebuildTheIndicatorAsTheModeSays)
{
    auto overlay = overlayWithDelegate();
    auto firstSpinner = overlay->indicator();
    overlay->setMode(kit::ProgressOverlayMode::Indeterminate);
    EXPECT_NE(overlay->indicator(), firstSpinner);
    EXPECT_FALSE(firstSpinner->superview());

    overlay->setMode(kit::ProgressOverlayMode::Determinate);
    auto pie = std::dynamic_pointer_cast<kit::RoundProgressView>(overlay->indicator());
    ASSERT_TRUE(pie);
    overlay->setMode(kit::ProgressOverlayMode::Determinate);
    EXPECT_EQ(overlay->indicator(), pie);
    overlay->setProgress(0.4f);
    EXPECT_EQ(pie->progress(), 0.4f);

    overlay->setMode(kit::ProgressOverlayMode::CustomView);
    EXPECT_TRUE(std::dynamic_pointer_cast<ui::ActivityIndicatorView>(overlay->indicator()));
    overlay->setProgress(0.9f);
    EXPECT_EQ(pie->progress(), 0.4f);
    EXPECT_EQ(overlay->progress(), 0.9f);
}

TEST_F(ProgressOverlayTest, AnimatedShowAndHideTellTheDelegateOnce)
{
    auto overlay = overlayWithDelegate();
    overlay->setAlpha(0.64);
    overlay->show(true);
    EXPECT_EQ(overlay->alpha(), 1.0);
    advance(0.3);
    overlay->hide(true);
    EXPECT_EQ(overlay->alpha(), 0.02);
    advance(0.29);
    EXPECT_EQ(delegate->withOverlay, 0);
    advance(0.01);
    EXPECT_EQ(overlay->alpha(), 0);
    EXPECT_TRUE(overlay->isFinished());
    EXPECT_EQ(delegate->withOverlay, 1);
    EXPECT_EQ(overlay->superview(), host);
}

TEST_F(ProgressOverlayTest, MinimumShowTimeHoldsAnEarlyHideBack)
{
    auto overlay = overlayWithDelegate();
    overlay->setMinShowTime(1.0f);
    overlay->show(false);
    advance(0.2);
    overlay->hide(false);
    EXPECT_EQ(overlay->alpha(), 1.0);
    ASSERT_TRUE(overlay->minShowTimer());
    advance(0.79);
    EXPECT_EQ(delegate->withOverlay, 0);
    advance(0.01);
    EXPECT_EQ(overlay->alpha(), 0);
    EXPECT_EQ(delegate->withOverlay, 1);

    // Without a minimum the hide is immediate.
    overlay->setMinShowTime(0);
    overlay->show(false);
    advance(0.2);
    overlay->hide(false);
    EXPECT_EQ(delegate->withOverlay, 2);
}

TEST_F(ProgressOverlayTest, GraceTimeWithoutATaskNeverShows)
{
    auto overlay = overlayWithDelegate();
    overlay->setGraceTime(0.5f);
    overlay->show(true);
    ASSERT_TRUE(overlay->graceTimer());
    advance(1.0);
    EXPECT_EQ(overlay->alpha(), 0);
    EXPECT_FALSE(overlay->showStarted());
}

TEST_F(ProgressOverlayTest, GraceTimeWithATaskShowsWhenItEnds)
{
    auto overlay = overlayWithDelegate();
    overlay->setGraceTime(0.5f);
    overlay->setTaskInProgress(true);
    overlay->show(false);
    advance(0.49);
    EXPECT_EQ(overlay->alpha(), 0);
    advance(0.01);
    EXPECT_EQ(overlay->alpha(), 1.0);
}

TEST_F(ProgressOverlayTest, HideDuringTheGraceTimeHidesAtOnceAndCancelsTheShow)
{
    auto overlay = overlayWithDelegate();
    overlay->setGraceTime(0.5f);
    overlay->setTaskInProgress(true);
    overlay->show(true);
    overlay->hide(true);
    EXPECT_FALSE(overlay->graceTimer());
    advance(1.0);
    EXPECT_EQ(overlay->alpha(), 0);
    EXPECT_EQ(delegate->withOverlay, 1);
}

TEST_F(ProgressOverlayTest, RepeatedAndLateHidesAnswerOneShowOnce)
{
    auto overlay = overlayWithDelegate();
    overlay->show(true);
    overlay->hide(true, 30);
    advance(2);
    overlay->hide(true);
    overlay->hide(true);
    advance(0.3);
    EXPECT_EQ(delegate->withOverlay, 1);
    advance(30);
    EXPECT_EQ(delegate->withOverlay, 1);
    overlay->hide(false);
    EXPECT_EQ(delegate->withOverlay, 1);
}

TEST_F(ProgressOverlayTest, NewShowDuringAnAnimatedHideStaysUp)
{
    auto overlay = overlayWithDelegate();
    overlay->show(false);
    overlay->hide(true);
    advance(0.1);
    overlay->show(true);
    advance(1);
    EXPECT_EQ(overlay->alpha(), 1.0);
    EXPECT_EQ(delegate->withOverlay, 0);
    overlay->hide(false);
    EXPECT_EQ(delegate->withOverlay, 1);
}

TEST_F(ProgressOverlayTest, DelegateImplementingBothHearsOnlyTheCallWithTheOverlay)
{
    auto both = std::make_shared<CountingDelegate>(true, true);
    auto plainOnly = std::make_shared<CountingDelegate>(false, true);
    auto overlay = overlayWithDelegate();
    overlay->setDelegate(both);
    overlay->show(false);
    overlay->hide(false);
    EXPECT_EQ(both->withOverlay, 1);
    EXPECT_EQ(both->plain, 0);
    overlay->setDelegate(plainOnly);
    overlay->show(false);
    overlay->hide(false);
    EXPECT_EQ(plainOnly->plain, 1);
}

TEST_F(ProgressOverlayTest, HideForViewHidesAndRemovesTheLastOverlay)
{
    auto first = kit::ProgressOverlay::showHUDAddedTo(host, false);
    auto second = kit::ProgressOverlay::showHUDAddedTo(host, false);
    EXPECT_TRUE(kit::ProgressOverlay::hideHUDForView(host, false));
    EXPECT_FALSE(second->superview());
    EXPECT_EQ(first->superview(), host);
    EXPECT_EQ(first->alpha(), 1.0);
    EXPECT_FALSE(kit::ProgressOverlay::hideHUDForView(window, false));
}

TEST_F(ProgressOverlayTest, SettersFromAnotherThreadReachTheViewsOnTheMainThread)
{
    auto overlay = overlayWithDelegate();
    overlay->setMode(kit::ProgressOverlayMode::Determinate);
    std::thread worker([overlay] {
        overlay->setProgress(0.5f);
        overlay->setLabelText("Uploading");
    });
    worker.join();
    EXPECT_EQ(overlay->progress(), 0.5f);
    EXPECT_FALSE(overlay->labelText());
    turn();
    EXPECT_EQ(overlay->labelText(), "Uploading");
    EXPECT_EQ(std::dynamic_pointer_cast<kit::RoundProgressView>(overlay->indicator())->progress(), 0.5f);
    EXPECT_EQ(overlay->label()->text(), "Uploading");
}

TEST_F(ProgressOverlayTest, TaskOnItsOwnThreadHidesTheOverlayWhenItReturns)
{
    auto overlay = overlayWithDelegate();
    std::atomic<bool> ran { false };
    overlay->showWhileExecuting([&ran] { ran = true; }, false);
    EXPECT_TRUE(overlay->taskInProgress());
    EXPECT_EQ(overlay->alpha(), 1.0);
    ASSERT_TRUE(base::RunLoop::main().runUntil([&] { return delegate->withOverlay == 1; }, base::Duration(10)));
    EXPECT_TRUE(ran);
    EXPECT_FALSE(overlay->taskInProgress());
    EXPECT_FALSE(overlay->indicator());
    EXPECT_EQ(overlay->alpha(), 0);
}

} // namespace
