// The pull-to-refresh engine and its backdrop-and-arrow component on a real table, driven by drags and
// releases on the manual clock.
#include "ListFixture.h"

#include "kit/refresh/CustomPullToRefresh.h"

#include <vector>

namespace {

using kit::RefreshDirection::Bottom;
using kit::RefreshDirection::Top;

class RefreshRequests : public kit::CustomPullToRefreshDelegate {
public:
    void customPullToRefreshShouldRefresh(kit::CustomPullToRefresh&, int direction) override
    {
        directions.push_back(direction);
    }
    std::vector<int> directions;
};

class RefreshPullController : public test::ListTest {
protected:
    void SetUp() override
    {
        test::ListTest::SetUp();
        table = makeTable(5);
        owner = std::make_shared<RefreshRequests>();
        refresh = kit::CustomPullToRefresh::make(table, owner);
    }
    void TearDown() override
    {
        refresh.reset();
        test::ListTest::TearDown();
    }

    int refreshing() const { return refresh->refreshController()->refreshingDirections(); }
    int refreshable() const { return refresh->refreshController()->refreshableDirections(); }

    std::shared_ptr<ui::TableView> table;
    std::shared_ptr<RefreshRequests> owner;
    std::shared_ptr<kit::CustomPullToRefresh> refresh;
};

TEST_F(RefreshPullController, BackdropsSitAboveTheContentAndBelowTheFrameWhenTheRowsAreShort)
{
    EXPECT_EQ(refresh->backdropTop()->frame(), (gfx::Rect { 0, -480, 320, 480 }));
    EXPECT_EQ(refresh->backdropBottom()->frame(), (gfx::Rect { 0, 480, 320, 480 }));
    gfx::Rect arrow = refresh->arrowTop()->frame();
    EXPECT_EQ(arrow.maxY(), 480 - 10) << "the top arrow's bottom is 10 points above the content";
    EXPECT_EQ(arrow.origin.x, std::floor((320 - arrow.width()) / 2));
    EXPECT_TRUE(test::isUpright(refresh->arrowTop()->transform()));
    EXPECT_TRUE(test::isHalfTurn(refresh->arrowBottom()->transform()));

    source->rows = 20;
    table->reloadData();
    EXPECT_EQ(refresh->backdropBottom()->frame().origin.y, 20 * 44) << "follows a content taller than the frame";
}

TEST_F(RefreshPullController, PullPastThirtyPointsAndReleaseRefreshesTheTop)
{
    table->dragTo({ 0, -20 });
    table->dragTo({ 0, -31 });
    EXPECT_EQ(refreshable(), 0) << "the engine judges the offset a change leaves behind";
    table->dragTo({ 0, -31.5 });
    EXPECT_EQ(refreshable(), 1 << Top);
    EXPECT_TRUE(test::isHalfTurn(refresh->arrowTop()->transform())) << "the arrows turn as the pull engages";
    EXPECT_TRUE(test::isUpright(refresh->arrowBottom()->transform()));

    table->releaseWithVelocity({ 0, 0 });
    EXPECT_TRUE(owner->directions.empty()) << "the refresh starts with the first offset change after the release";
    advance(1.0 / 60);
    EXPECT_EQ(owner->directions, (std::vector<int> { Top }));
    EXPECT_EQ(refreshing(), 1 << Top);
    EXPECT_EQ(refreshable(), 0);
    EXPECT_EQ(table->contentInset().top, 30);
    EXPECT_TRUE(refresh->arrowTop()->isHidden());
    EXPECT_TRUE(refresh->arrowBottom()->isHidden());
    EXPECT_TRUE(refresh->backdropTop()->isAnimating());
    settle(*table);
    EXPECT_EQ(table->contentOffset(), (gfx::Point { 0, -30 })) << "the inset holds the refresh area open";
}

TEST_F(RefreshPullController, PullOfExactlyThirtyPointsDoesNotEngage)
{
    pullAndRelease(*table, { { 0, -10 }, { 0, -30 }, { 0, -30 } });
    settle(*table);
    EXPECT_TRUE(owner->directions.empty());
    EXPECT_EQ(refreshing(), 0);
    EXPECT_EQ(table->contentOffset(), (gfx::Point { 0, 0 }));
}

TEST_F(RefreshPullController, PullingBackInsideDisengagesAndTurnsTheArrowsBack)
{
    table->dragTo({ 0, -50 });
    table->dragTo({ 0, -51 });
    EXPECT_EQ(refreshable(), 1 << Top);
    table->dragTo({ 0, -12 });
    table->dragTo({ 0, -11 });
    EXPECT_EQ(refreshable(), 0);
    EXPECT_TRUE(test::isUpright(refresh->arrowTop()->transform()));
    EXPECT_TRUE(test::isHalfTurn(refresh->arrowBottom()->transform()));
    table->releaseWithVelocity({ 0, 0 });
    settle(*table);
    EXPECT_TRUE(owner->directions.empty());
}

TEST_F(RefreshPullController, ShortRowsEngageAtTheBottomOncePulledThirtyPointsUp)
{
    table->dragTo({ 0, 30 });
    table->dragTo({ 0, 30 });
    EXPECT_EQ(refreshable(), 0);
    pullAndRelease(*table, { { 0, 31 }, { 0, 31 } });
    advance(1.0 / 60);
    EXPECT_EQ(owner->directions, (std::vector<int> { Bottom }));
    EXPECT_EQ(table->contentInset().bottom, 30);
}

TEST_F(RefreshPullController, WhileTheTopRefreshesTopPullsAreIgnoredButTheBottomStillWorks)
{
    refresh->startRefresh();
    EXPECT_EQ(owner->directions, (std::vector<int> { Top }));
    EXPECT_EQ(table->contentInset().top, 30);
    EXPECT_EQ(table->contentOffset(), (gfx::Point { 0, -30 }));

    pullAndRelease(*table, { { 0, -80 }, { 0, -81 } });
    settle(*table);
    EXPECT_EQ(owner->directions.size(), 1u);

    pullAndRelease(*table, { { 0, 40 }, { 0, 41 } });
    settle(*table);
    EXPECT_EQ(owner->directions, (std::vector<int> { Top, Bottom }));
    EXPECT_EQ(refreshing(), (1 << Top) | (1 << Bottom));
}

TEST_F(RefreshPullController, SidewaysPullsNeverEngage)
{
    table->setAlwaysBounceHorizontal(true);
    pullAndRelease(*table, { { -60, 0 }, { -61, 0 } });
    settle(*table);
    pullAndRelease(*table, { { 60, 0 }, { 61, 0 } });
    settle(*table);
    EXPECT_TRUE(owner->directions.empty());
    EXPECT_EQ(refreshable(), 0);
}

TEST_F(RefreshPullController, EndRefreshClosesBothInsetsToZeroAndRestoresTheArrows)
{
    table->setContentInset({ 10, 0, 5, 0 });
    refresh->startRefresh();
    refresh->endRefresh();
    EXPECT_EQ(table->contentInset(), (gfx::EdgeInsets { 0, 0, 0, 0 })) << "not back to the owner's 10 and 5";
    EXPECT_EQ(refreshing(), 0);
    EXPECT_FALSE(refresh->arrowTop()->isHidden());
    EXPECT_FALSE(refresh->arrowBottom()->isHidden());
    EXPECT_TRUE(test::isUpright(refresh->arrowTop()->transform()));
    EXPECT_TRUE(test::isHalfTurn(refresh->arrowBottom()->transform()));
    EXPECT_FALSE(refresh->backdropTop()->isAnimating());

    pullAndRelease(*table, { { 0, -40 }, { 0, -41 } });
    advance(1.0 / 60);
    EXPECT_EQ(owner->directions.size(), 2u) << "a finished direction refreshes again";
}

TEST_F(RefreshPullController, ProgrammaticBottomStartShowsTheAreaBelowTheContent)
{
    source->rows = 30;
    table->reloadData();
    refresh->refreshController()->startRefreshingDirection(Bottom, true);
    EXPECT_EQ(table->contentInset().bottom, 30);
    EXPECT_EQ(table->contentOffset(), (gfx::Point { 0, 30 * 44 + 30 - 480 }));
    EXPECT_EQ(owner->directions, (std::vector<int> { Bottom }));
}

TEST_F(RefreshPullController, AnOwnerThatHasGoneIsNotAsked)
{
    owner.reset();
    pullAndRelease(*table, { { 0, -50 }, { 0, -51 } });
    advance(1.0 / 60);
    EXPECT_EQ(refreshing(), 1 << Top) << "the component itself still refreshes";
}

} // namespace
