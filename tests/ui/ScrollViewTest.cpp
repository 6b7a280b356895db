#include "TouchFixture.h"
#include "UITestFixture.h"

#include "ui/render/FrameClock.h"
#include "ui/scroll/ScrollPanGestureRecognizer.h"
#include "ui/scroll/ScrollView.h"

#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Writes down, in order, what a scroll view tells its delegate and its offset observers, with the dragging
// and decelerating flags seen at that moment.
class ScrollJournal : public ui::ScrollViewDelegate {
public:
    std::vector<std::string> events;
    std::function<void(ui::ScrollView&)> onEndDragging;

    void attach(ui::ScrollView& view)
    {
        view.addContentOffsetObserver(true, [this, &view](const ui::PropertyChange<gfx::Point>& change) {
            events.push_back(std::string(change.isPrior ? "prior " : "after ") + flags(view) + " "
                + std::to_string(static_cast<int>(change.oldValue.y)));
        });
    }

    void scrollViewWillBeginDragging(ui::ScrollView& view) override { events.push_back("begin " + flags(view)); }
    void scrollViewDidEndDragging(ui::ScrollView& view, bool decelerate) override
    {
        events.push_back(std::string("end-drag ") + (decelerate ? "decelerate " : "stop ") + flags(view));
        if (onEndDragging)
            onEndDragging(view);
    }
    void scrollViewDidEndDecelerating(ui::ScrollView& view) override { events.push_back("rest " + flags(view)); }

    static std::string flags(const ui::ScrollView& view)
    {
        return std::string(view.isDragging() ? "D" : "-") + (view.isDecelerating() ? "d" : "-");
    }

    size_t count(const std::string& prefix) const
    {
        return std::count_if(events.begin(), events.end(), [&](const std::string& e) { return e.starts_with(prefix); });
    }
};

class ScrollViews : public test::UITest {
protected:
    void SetUp() override
    {
        test::UITest::SetUp();
        scroll = std::make_shared<ui::ScrollView>(gfx::Rect { 0, 0, 320, 480 });
        scroll->setContentSize({ 320, 200 });
        scroll->setAlwaysBounceVertical(true);
        journal = std::make_shared<ScrollJournal>();
        scroll->setDelegate(journal);
        journal->attach(*scroll);
    }

    // Advances virtual time frame by frame until the content rests (at most `seconds`).
    void settle(double seconds = 3)
    {
        for (double t = 0; t < seconds && scroll->isDecelerating(); t += 1.0 / 60)
            advance(1.0 / 60);
    }

    std::shared_ptr<ui::ScrollView> scroll;
    std::shared_ptr<ScrollJournal> journal;
};

TEST_F(ScrollViews, ReleaseClearsDraggingThenTellsTheDelegateThenMovesOnTheNextFrame)
{
    scroll->dragTo({ 0, -31 });
    journal->events.clear();

    scroll->releaseWithVelocity({ 0, 0 });
    EXPECT_EQ(journal->events, (std::vector<std::string> { "end-drag decelerate -d" }));

    advance(1.0 / 60);
    ASSERT_GE(journal->events.size(), 3u);
    EXPECT_EQ(journal->events[1], "prior -d -31");
    EXPECT_TRUE(journal->events[2].starts_with("after -d -31"));
}

TEST_F(ScrollViews, ReleaseAtRestWithoutVelocityDoesNotDecelerate)
{
    scroll->dragTo({ 0, 0 });
    scroll->releaseWithVelocity({ 0, 0 });
    EXPECT_FALSE(scroll->isDecelerating());
    advance(0.5);
    EXPECT_EQ(journal->events.back(), "end-drag stop --");
}

TEST_F(ScrollViews, PulledContentBouncesBackToItsEdgeWithNotificationsEveryFrame)
{
    scroll->dragTo({ 0, -80 });
    journal->events.clear();
    scroll->releaseWithVelocity({ 0, 0 });
    settle();
    EXPECT_EQ(scroll->contentOffset(), (gfx::Point { 0, 0 }));
    EXPECT_FALSE(scroll->isDecelerating());
    EXPECT_EQ(journal->events.back(), "rest --");
    EXPECT_EQ(journal->count("rest"), 1u);
    EXPECT_GT(journal->count("prior -d"), 10u);
    EXPECT_EQ(journal->count("prior -d"), journal->count("after -d"));
}

TEST_F(ScrollViews, InsetSetAtTheFirstPriorNotificationHoldsTheContentOpen)
{
    // The pull-to-refresh engine's release: the first prior notification with dragging just cleared.
    bool wasDragging = false;
    scroll->addContentOffsetObserver(true, [&](const ui::PropertyChange<gfx::Point>& change) {
        if (change.isPrior && wasDragging && !scroll->isDragging() && scroll->isDecelerating()
            && change.oldValue.y < -30)
            scroll->setContentInset({ 30, 0, 0, 0 });
        if (!change.isPrior)
            wasDragging = scroll->isDragging();
    });
    scroll->dragTo({ 0, -20 });
    scroll->dragTo({ 0, -31 });
    scroll->releaseWithVelocity({ 0, 0 });
    settle();
    EXPECT_EQ(scroll->contentOffset(), (gfx::Point { 0, -30 }));
    EXPECT_EQ(scroll->contentInset().top, 30);
}

TEST_F(ScrollViews, InsetSetWhenTheDragEndsHoldsTheContentOpen)
{
    journal->onEndDragging = [](ui::ScrollView& view) {
        ui::View::animateWithDuration(0.2, [&] { view.setContentInset({ 60, 0, 0, 0 }); });
    };
    scroll->dragTo({ 0, -70 });
    scroll->releaseWithVelocity({ 0, 0 });
    EXPECT_EQ(scroll->contentOffset(), (gfx::Point { 0, -70 })) << "the inset does not move a decelerating view";
    settle();
    EXPECT_EQ(scroll->contentOffset(), (gfx::Point { 0, -60 }));
}

TEST_F(ScrollViews, SettingTheOffsetByProgramStopsTheMotionWhereItIsSet)
{
    // A refresh header's release: at the first notification after the drag it opens its inset and sets
    // the offset itself.
    bool opened = false;
    scroll->addContentOffsetObserver(false, [&](const ui::PropertyChange<gfx::Point>&) {
        if (!opened && !scroll->isDragging() && scroll->contentOffset().y < -64) {
            opened = true;
            scroll->setContentInset({ 64, 0, 0, 0 });
            scroll->setContentOffset({ 0, -64 });
        }
    });
    scroll->dragTo({ 0, -90 });
    scroll->releaseWithVelocity({ 0, 0 });
    advance(1.0 / 60);
    EXPECT_TRUE(opened);
    EXPECT_FALSE(scroll->isDecelerating());
    advance(1);
    EXPECT_EQ(scroll->contentOffset(), (gfx::Point { 0, -64 }));
    EXPECT_EQ(journal->count("rest"), 0u);
}

TEST_F(ScrollViews, RestRangeIncludesTheBottomInsetAndShortContentRestsAtTheTop)
{
    scroll->setContentSize({ 320, 1000 });
    scroll->setContentInset({ 0, 0, 65, 0 });
    scroll->dragTo({ 0, 1000 - 480 + 100 });
    scroll->releaseWithVelocity({ 0, 0 });
    settle();
    EXPECT_EQ(scroll->contentOffset(), (gfx::Point { 0, 1000 + 65 - 480 }));

    scroll->setContentSize({ 320, 100 });
    EXPECT_EQ(scroll->contentOffset(), (gfx::Point { 0, 0 })) << "a shorter content brings a resting offset back";
}

TEST_F(ScrollViews, InsetClosedAtRestBringsTheContentBackThroughTheObservers)
{
    scroll->setContentInset({ 30, 0, 0, 0 });
    scroll->setContentOffset({ 0, -30 });
    journal->events.clear();
    ui::View::animateWithDuration(0.2, [&] { scroll->setContentInset({ 0, 0, 0, 0 }); });
    EXPECT_EQ(scroll->contentOffset(), (gfx::Point { 0, 0 }));
    EXPECT_EQ(journal->events, (std::vector<std::string> { "prior -- -30", "after -- -30" }));
    advance(0.5);
}

TEST_F(ScrollViews, FlingGlidesAndStopsWithinTheContent)
{
    scroll->setContentSize({ 320, 5000 });
    scroll->dragTo({ 0, 100 });
    scroll->releaseWithVelocity({ 0, 1500 });
    advance(1.0 / 60);
    double firstFrame = scroll->contentOffset().y;
    EXPECT_GT(firstFrame, 100);
    settle(10);
    EXPECT_FALSE(scroll->isDecelerating());
    EXPECT_GT(scroll->contentOffset().y, 600);
    EXPECT_LE(scroll->contentOffset().y, 5000 - 480);
}

TEST_F(ScrollViews, VelocityAlongAnAxisThatCannotScrollIsIgnored)
{
    scroll->dragTo({ 0, 0 });
    scroll->releaseWithVelocity({ 900, 0 });
    EXPECT_FALSE(scroll->isDecelerating());
    EXPECT_EQ(journal->events.back(), "end-drag stop --");
}

TEST_F(ScrollViews, ObserversHearEverySetterCallAndCanBeRemoved)
{
    std::vector<std::string> sizes;
    int owner = 0;
    scroll->addContentSizeObserver(
        false,
        [&](const ui::PropertyChange<gfx::Size>& change) {
            sizes.push_back(
                std::to_string(int(change.oldValue.height)) + "->" + std::to_string(int(change.newValue->height)));
        },
        &owner);
    scroll->setContentSize({ 320, 200 });
    scroll->setContentSize({ 320, 300 });
    EXPECT_EQ(sizes, (std::vector<std::string> { "200->200", "200->300" }));

    journal->events.clear();
    scroll->setContentOffset({ 0, 0 });
    EXPECT_EQ(journal->events, (std::vector<std::string> { "prior -- 0", "after -- 0" }));

    scroll->removeObservers(&owner);
    scroll->setContentSize({ 320, 400 });
    EXPECT_EQ(sizes.size(), 2u);
}

TEST_F(ScrollViews, OffsetObserverRemovedDuringANotificationIsNotToldAgain)
{
    int calls = 0;
    ui::ScrollView::ObserverToken token = 0;
    token = scroll->addContentOffsetObserver(true, [&](const ui::PropertyChange<gfx::Point>&) {
        ++calls;
        scroll->removeContentOffsetObserver(token);
    });
    scroll->setContentOffset({ 0, 10 });
    scroll->setContentOffset({ 0, 20 });
    EXPECT_EQ(calls, 1);
}

TEST_F(ScrollViews, OffsetSetInsideAnAnimationBlockChangesTheModelAtOnceAndNotifiesOnce)
{
    journal->events.clear();
    ui::View::animateWithDuration(0.25, [&] { scroll->setContentOffset({ 0, -64 }); });
    EXPECT_EQ(scroll->contentOffset(), (gfx::Point { 0, -64 }));
    advance(0.5);
    EXPECT_EQ(journal->events, (std::vector<std::string> { "prior -- 0", "after -- 0" }));
}

class ZoomDelegate : public ui::ScrollViewDelegate {
public:
    std::shared_ptr<ui::View> zoomView;
    int zooms = 0;
    std::shared_ptr<ui::View> viewForZoomingInScrollView(ui::ScrollView&) override { return zoomView; }
    void scrollViewDidZoom(ui::ScrollView&) override { ++zooms; }
};

TEST_F(ScrollViews, ZoomScalesTheZoomViewWithinTheLimitsAndSizesTheContent)
{
    auto delegate = std::make_shared<ZoomDelegate>();
    delegate->zoomView = std::make_shared<ui::View>(gfx::Rect { 0, 0, 320, 240 });
    scroll->addSubview(delegate->zoomView);
    scroll->setDelegate(delegate);
    scroll->setMinimumZoomScale(1);
    scroll->setMaximumZoomScale(3);

    scroll->setZoomScale(5);
    EXPECT_EQ(scroll->zoomScale(), 3);
    EXPECT_EQ(scroll->contentSize(), (gfx::Size { 960, 720 }));
    EXPECT_EQ(delegate->zoomView->frame(), (gfx::Rect { 0, 0, 960, 720 }));
    EXPECT_EQ(delegate->zooms, 1);

    scroll->zoomToRect({ 100, 100, 160, 120 }, false);
    EXPECT_EQ(scroll->zoomScale(), 2);
    EXPECT_EQ(scroll->contentOffset(), (gfx::Point { 2 * 180 - 160, 0 }))
        << "the rectangle's centre in the middle of the bounds, within the rest range (640 x 480 of content)";
}

TEST_F(ScrollViews, WithoutAZoomViewTheScaleStaysOne)
{
    scroll->setMaximumZoomScale(3);
    scroll->setZoomScale(2);
    EXPECT_EQ(scroll->zoomScale(), 1);
}

class ScrollViewPans : public test::TouchFixture {
protected:
    void SetUp() override
    {
        test::TouchFixture::SetUp();
        scroll = std::make_shared<ui::ScrollView>(gfx::Rect { 0, 0, 320, 568 });
        scroll->setContentSize({ 320, 2000 });
        window->addSubview(scroll);
    }
    std::shared_ptr<ui::ScrollView> scroll;
};

TEST_F(ScrollViewPans, VerticalDragMovesTheContentWithTheFingerAndRubberBandsPastTheTop)
{
    finger.down({ 160, 400 }).moveTo({ 160, 300 }, 0.1s, 5);
    EXPECT_TRUE(scroll->isDragging());
    EXPECT_EQ(scroll->contentOffset(), (gfx::Point { 0, 100 })) << "the content follows the finger";
    finger.moveTo({ 160, 600 }, 0.2s, 10);
    double pulled = scroll->contentOffset().y;
    EXPECT_LT(pulled, 0);
    EXPECT_GT(pulled, -(600 - 400)) << "held back by the rubber band";
    finger.up();
    EXPECT_FALSE(scroll->isDragging());
    EXPECT_TRUE(scroll->isDecelerating());
    finger.wait(2s);
    EXPECT_EQ(scroll->contentOffset(), (gfx::Point { 0, 0 }));
}

TEST_F(ScrollViewPans, SidewaysDragOnAVerticalListLeavesTheContentAlone)
{
    finger.down({ 50, 300 }).moveTo({ 250, 305 }, 0.2s, 10).up();
    EXPECT_EQ(scroll->contentOffset(), (gfx::Point { 0, 0 }));
    EXPECT_EQ(scroll->panGestureRecognizer()->state(), ui::GestureRecognizer::State::Possible);
}

TEST_F(ScrollViewPans, PinchZoomsAboutThePointBetweenTheFingers)
{
    auto delegate = std::make_shared<ZoomDelegate>();
    delegate->zoomView = std::make_shared<ui::View>(gfx::Rect { 0, 0, 320, 240 });
    scroll->addSubview(delegate->zoomView);
    scroll->setDelegate(delegate);
    scroll->setContentSize({ 320, 240 });
    scroll->setMaximumZoomScale(3);

    finger.down({ 100, 120 }, 0).down({ 220, 120 }, 1);
    finger.moveTo({ 40, 120 }, 0.1s, 3, 0).moveTo({ 280, 120 }, 0.1s, 3, 1).up(0).up(1);
    EXPECT_DOUBLE_EQ(scroll->zoomScale(), 2);
    EXPECT_EQ(scroll->contentSize(), (gfx::Size { 640, 480 }));
    // The content between the fingers stays between them as they spread: it moves right, within range.
    EXPECT_GT(scroll->contentOffset().x, 100);
    EXPECT_LE(scroll->contentOffset().x, 320);
    EXPECT_EQ(scroll->contentOffset().y, 0);
    EXPECT_GT(delegate->zooms, 0);
}

TEST_F(ScrollViewPans, DisabledScrollingIgnoresTheFingerAndTheDragHook)
{
    scroll->setScrollEnabled(false);
    finger.drag({ 160, 400 }, { 160, 200 });
    scroll->dragTo({ 0, 50 });
    EXPECT_EQ(scroll->contentOffset(), (gfx::Point { 0, 0 }));
    EXPECT_FALSE(scroll->isDragging());
}

} // namespace
