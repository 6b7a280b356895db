// The refresh header and footer that attach themselves to a scroll view, and the scroll-view functions that
// attach them, driven by drags and releases of a real table on the manual clock.
#include "ListFixture.h"

#include "base/time/Calendar.h"
#include "base/text/Localization.h"
#include "base/system/UserDefaults.h"
#include "kit/refresh/ScrollViewRefresh.h"

namespace {

using State = kit::RefreshBaseView::State;

class PhoneBook {
public:
    void refresh(kit::RefreshBaseView& view) { calls.push_back(&view); }
    std::vector<kit::RefreshBaseView*> calls;
};

class RefreshViews : public test::ListTest {
protected:
    void SetUp() override
    {
        test::ListTest::SetUp();
        base::UserDefaults::standard().removeObjectForKey("table");
        table = makeTable(5);
        owner = std::make_shared<PhoneBook>();
    }

    std::shared_ptr<kit::RefreshHeaderView> addHeader()
    {
        kit::addHeaderWithTarget(*table, owner, &PhoneBook::refresh, "table");
        turn();
        return kit::header(*table);
    }

    // Local wall-clock time on a day relative to today.
    base::Date localTime(int yearsBack, int monthsBack, int hour, int minute)
    {
        auto calendar = base::Calendar::current();
        base::DateComponents fields = calendar.components(base::Date::now());
        fields.year -= yearsBack;
        fields.month -= monthsBack;
        fields.hour = hour;
        fields.minute = minute;
        fields.second = 0;
        return *calendar.date(fields);
    }

    std::string lastRefreshLine(const std::string& time) { return base::localized("last_refresh_time") + " " + time; }

    std::shared_ptr<ui::TableView> table;
    std::shared_ptr<PhoneBook> owner;
};

TEST_F(RefreshViews, HeaderSitsAboveTheContentAtTheTableWidth)
{
    auto header = addHeader();
    ASSERT_TRUE(header);
    EXPECT_EQ(header->frame(), (gfx::Rect { 0, -64, 320, 64 }));
    EXPECT_EQ(header->state(), State::Normal);
    EXPECT_EQ(header->statusLabel()->text(), "下拉可以刷新");
    EXPECT_EQ(header->arrowImage()->center(), (gfx::Point { 160 - 100, 32 }));
    EXPECT_TRUE(header->arrowImage()->image()) << "the drawn grey arrow";
}

TEST_F(RefreshViews, ReleasePastSixtyFourPointsRefreshesWithTheHeaderHeldOpen)
{
    auto header = addHeader();
    table->dragTo({ 0, -64 });
    EXPECT_EQ(header->state(), State::Normal);
    table->dragTo({ 0, -64.5 });
    EXPECT_EQ(header->state(), State::Pulling);
    EXPECT_EQ(header->statusLabel()->text(), "松开立即刷新");
    EXPECT_TRUE(test::isHalfTurn(header->arrowImage()->transform()));

    table->releaseWithVelocity({ 0, 0 });
    advance(1.0 / 60);
    EXPECT_EQ(header->state(), State::Refreshing);
    ASSERT_EQ(owner->calls.size(), 1u);
    EXPECT_EQ(owner->calls[0], header.get());
    EXPECT_EQ(table->contentInset().top, 64);
    EXPECT_EQ(table->contentOffset(), (gfx::Point { 0, -64 }));
    EXPECT_TRUE(header->activityView()->isAnimating());
    EXPECT_TRUE(header->arrowImage()->isHidden());
    advance(1);
    EXPECT_EQ(table->contentOffset(), (gfx::Point { 0, -64 }));
}

TEST_F(RefreshViews, EndingRecordsTheTimeAndClosesTheInsetLater)
{
    auto header = addHeader();
    pullAndRelease(*table, { { 0, -80 } });
    advance(1.0 / 60);
    kit::headerEndRefreshing(*table);

    pullAndRelease(*table, { { 0, -90 } });
    EXPECT_EQ(owner->calls.size(), 1u) << "pulls are ignored until the refresh has ended";
    advance(0.3);
    EXPECT_EQ(header->state(), State::Normal);
    EXPECT_EQ(table->contentInset().top, 0);
    EXPECT_EQ(header->lastUpdateTime(), base::Date::now());
    auto stored = base::UserDefaults::standard().objectForKey("table");
    ASSERT_TRUE(stored && stored->isDate());
    EXPECT_EQ(*stored->date(), base::Date::now());
    advance(0.5);
    settle(*table);
    EXPECT_FALSE(header->arrowImage()->isHidden());
    EXPECT_EQ(header->statusLabel()->text(), "下拉可以刷新");
    EXPECT_EQ(table->contentOffset(), (gfx::Point { 0, 0 }));
}

TEST_F(RefreshViews, OwnersInsetIsKeptAcrossARefresh)
{
    table->setContentInset({ 20, 0, 0, 0 });
    auto header = addHeader();
    pullAndRelease(*table, { { 0, -84 }, { 0, -85 } });
    advance(1.0 / 60);
    EXPECT_EQ(table->contentInset().top, 20 + 64);
    kit::headerEndRefreshing(*table);
    advance(1);
    EXPECT_EQ(table->contentInset().top, 20);
}

TEST_F(RefreshViews, BeginningOutOfAWindowWaitsForTheNextRedraw)
{
    table->removeFromSuperview();
    auto header = addHeader();
    kit::headerBeginRefreshing(*table);
    EXPECT_EQ(header->state(), State::WillRefresh);
    turn();
    EXPECT_TRUE(owner->calls.empty());

    window->addSubview(table);
    turn();
    EXPECT_EQ(header->state(), State::Refreshing);
    EXPECT_EQ(owner->calls.size(), 1u);
}

TEST_F(RefreshViews, BeginningWhileRefreshingCallsTheTargetAndTheBlockAgain)
{
    auto header = addHeader();
    int blocks = 0;
    header->setBeginRefreshingCallback([&] { ++blocks; });
    kit::headerBeginRefreshing(*table);
    kit::headerBeginRefreshing(*table);
    EXPECT_EQ(owner->calls.size(), 2u);
    EXPECT_EQ(blocks, 2);
    EXPECT_TRUE(kit::isHeaderRefreshing(*table));
}

TEST_F(RefreshViews, LastRefreshShowsOnlyAsMuchOfTheDateAsDiffersFromToday)
{
    clock = base::ManualClock::install(base::Date::fromTimeIntervalSince1970(1404388800)); // 2014-07-03 12:00 UTC
    struct Case {
        base::Date stored;
        std::string shown;
    };
    std::vector<Case> cases {
        { localTime(0, 0, 10, 5), "10:05" },
        { localTime(0, 1, 10, 5), "06-03 10:05" },
        { localTime(1, 0, 10, 5), "2013-07-03 10:05" },
    };
    for (const auto& c : cases) {
        base::UserDefaults::standard().setObject(base::Value(c.stored), "table");
        auto header = kit::RefreshHeaderView::header();
        header->setDateKey("table");
        EXPECT_EQ(header->lastUpdateTimeLabel()->text(), lastRefreshLine(c.shown));
    }
}

TEST_F(RefreshViews, AStoredValueThatIsNotADateCountsAsNoRefreshYet)
{
    base::UserDefaults::standard().setObject(base::Value("yesterday"), "table");
    auto header = addHeader();
    EXPECT_EQ(header->lastUpdateTimeLabel()->text(), "");
    EXPECT_FALSE(header->lastUpdateTime());
}

TEST_F(RefreshViews, FooterBelowShortRowsHoldsTheEmptyPartOpenWhileRefreshing)
{
    int loads = 0;
    kit::addFooterWithCallback(*table, [&] { ++loads; });
    auto footer = kit::footer(*table);
    EXPECT_EQ(footer->frame().origin.y, 480) << "at the bottom of the visible area, not under the 5 rows";
    EXPECT_TRUE(test::isHalfTurn(footer->arrowImage()->transform()));

    table->dragTo({ 0, 64 });
    EXPECT_EQ(footer->state(), State::Normal);
    table->dragTo({ 0, 65 });
    EXPECT_EQ(footer->state(), State::Pulling);
    EXPECT_EQ(footer->statusLabel()->text(), "松开立即加载更多数据");
    table->releaseWithVelocity({ 0, 0 });
    advance(1.0 / 60);
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(footer->lastRefreshCount(), 5);
    EXPECT_EQ(table->contentInset().bottom, 64 + (480 - 5 * 44));
    settle(*table);

    kit::footerEndRefreshing(*table);
    advance(1);
    EXPECT_EQ(footer->state(), State::Normal);
    EXPECT_EQ(table->contentInset().bottom, 0);
}

TEST_F(RefreshViews, FooterFollowsTheContentHeight)
{
    kit::addFooterWithCallback(*table, [] {});
    source->rows = 30;
    table->reloadData();
    EXPECT_EQ(kit::footer(*table)->frame().origin.y, 30 * 44);
}

TEST_F(RefreshViews, FunctionsWithoutAnAttachedViewDoNothing)
{
    kit::headerBeginRefreshing(*table);
    kit::setFooterRefreshingText(*table, "...");
    EXPECT_FALSE(kit::isHeaderRefreshing(*table));
    EXPECT_FALSE(kit::isFooterHidden(*table));
    EXPECT_EQ(kit::headerPullToRefreshText(*table), std::nullopt);
    EXPECT_EQ(kit::header(*table), nullptr);
}

TEST_F(RefreshViews, AddingAgainReusesTheHeaderAndRemovingDetachesIt)
{
    auto first = addHeader();
    kit::addHeaderWithCallback(*table, [] {});
    EXPECT_EQ(kit::header(*table), first);
    kit::setHeaderPullToRefreshText(*table, "Pull");
    EXPECT_EQ(first->statusLabel()->text(), "Pull");
    EXPECT_EQ(kit::headerPullToRefreshText(*table), "Pull");

    kit::removeHeader(*table);
    EXPECT_EQ(kit::header(*table), nullptr);
    pullAndRelease(*table, { { 0, -90 }, { 0, -91 } });
    advance(1.0 / 60);
    EXPECT_TRUE(owner->calls.empty()) << "a removed header no longer follows the table";
}

} // namespace
