// The table refresh header and footer, fed by their owner with a real table's scrolling and end of drag.
#include "ListFixture.h"

#include "base/text/Localization.h"
#include "base/system/UserDefaults.h"
#include "kit/refresh/RefreshTableFooterView.h"
#include "kit/refresh/RefreshTableHeaderView.h"

#include <vector>

namespace {

using State = kit::RefreshTableEdgeView::State;

// The list screen: forwards its table's scrolling to the refresh view and answers its questions.
class ListOwner : public ui::TableViewDelegate, public kit::RefreshTableDelegate {
public:
    void scrollViewDidScroll(ui::ScrollView& scrollView) override
    {
        if (edge)
            edge->refreshScrollViewDidScroll(scrollView);
    }
    void scrollViewDidEndDragging(ui::ScrollView& scrollView, bool) override
    {
        if (edge)
            edge->refreshScrollViewDidEndDragging(scrollView);
    }
    void refreshTableDidTriggerRefresh(int which) override { triggers.push_back(which); }
    bool refreshTableDataSourceIsLoading(ui::View&) override { return loading; }

    std::shared_ptr<kit::RefreshTableEdgeView> edge;
    std::vector<int> triggers;
    bool loading { false };
};

class DatedListOwner : public ListOwner {
public:
    std::optional<base::Date> refreshTableDataSourceLastUpdated(ui::View&) override { return updated; }
    base::Date updated;
};

class RefreshTableHeader : public test::ListTest {
protected:
    void SetUp() override
    {
        test::ListTest::SetUp();
        table = makeTable(5);
        owner = std::make_shared<ListOwner>();
        table->setDelegate(owner);
        header = kit::RefreshTableHeaderView::make({ 0, -480, 320, 480 });
        header->setDelegate(owner);
        table->addSubview(header);
        owner->edge = header;
    }

    std::shared_ptr<ui::TableView> table;
    std::shared_ptr<ListOwner> owner;
    std::shared_ptr<kit::RefreshTableHeaderView> header;
};

TEST_F(RefreshTableHeader, StartsNormalWithItsPartsPlacedAtTheBottom)
{
    EXPECT_EQ(header->state(), State::Normal);
    EXPECT_EQ(header->statusLabel()->text(), base::localized("down_to_refresh"));
    EXPECT_EQ(header->statusLabel()->frame(), (gfx::Rect { 0, 480 - 38, 320, 20 }));
    EXPECT_EQ(header->arrowImage()->frame(), (gfx::Rect { 25, 480 - 65, 30, 55 }));
    EXPECT_TRUE(header->arrowImage()->contents()) << "the drawn blue arrow";
    EXPECT_EQ(header->lastUpdatedLabel(), nullptr) << "the header shows no date";
    EXPECT_EQ(header->key(), "RefreshTableView_LastRefresh");
}

TEST_F(RefreshTableHeader, ArrowTurnsOnlyStrictlyBeyondSixtyFivePoints)
{
    table->dragTo({ 0, -65 });
    EXPECT_EQ(header->state(), State::Normal);
    table->dragTo({ 0, -65.5 });
    EXPECT_EQ(header->state(), State::Pulling);
    EXPECT_EQ(header->statusLabel()->text(), base::localized("release_to_refresh"));
    EXPECT_TRUE(test::isHalfTurn(header->arrowImage()->affineTransform()));
    table->dragTo({ 0, -30 });
    EXPECT_EQ(header->state(), State::Normal);
    EXPECT_TRUE(test::isUpright(header->arrowImage()->affineTransform()));
}

TEST_F(RefreshTableHeader, ReleaseAtSixtyFivePointsTriggersOnceAndHoldsSixtyPointsOpen)
{
    pullAndRelease(*table, { { 0, -40 }, { 0, -65 } });
    EXPECT_EQ(owner->triggers, (std::vector<int> { kit::RefreshTableDelegate::FromHeader }));
    EXPECT_EQ(header->state(), State::Loading);
    EXPECT_EQ(header->statusLabel()->text(), base::localized("loading ..."));
    EXPECT_TRUE(header->activityView()->isAnimating());
    EXPECT_TRUE(header->arrowImage()->isHidden());
    settle(*table);
    EXPECT_EQ(table->contentOffset(), (gfx::Point { 0, -60 }));
    EXPECT_EQ(table->contentInset().top, 60);
    EXPECT_EQ(owner->triggers.size(), 1u);
}

TEST_F(RefreshTableHeader, WhileLoadingTheTopInsetFollowsThePullUpToSixty)
{
    pullAndRelease(*table, { { 0, -70 } });
    settle(*table);
    table->dragTo({ 0, -100 });
    EXPECT_EQ(table->contentInset().top, 60);
    table->dragTo({ 0, -20 });
    EXPECT_EQ(table->contentInset().top, 20);
    table->dragTo({ 0, 10 });
    EXPECT_EQ(table->contentInset().top, 0);
    EXPECT_EQ(owner->triggers.size(), 1u);
}

TEST_F(RefreshTableHeader, NothingHappensWhileTheOwnerIsLoading)
{
    owner->loading = true;
    pullAndRelease(*table, { { 0, -80 }, { 0, -90 } });
    EXPECT_TRUE(owner->triggers.empty());
    EXPECT_EQ(header->state(), State::Normal);
    settle(*table);
    EXPECT_EQ(table->contentOffset(), (gfx::Point { 0, 0 }));
}

TEST_F(RefreshTableHeader, FinishingClosesTheInsetAndGoesBackToNormalEvenTwice)
{
    pullAndRelease(*table, { { 0, -70 } });
    settle(*table);
    header->refreshScrollViewDataSourceDidFinishLoading(*table);
    EXPECT_EQ(header->state(), State::Normal);
    EXPECT_EQ(table->contentInset(), (gfx::EdgeInsets {}));
    EXPECT_FALSE(header->activityView()->isAnimating());
    EXPECT_FALSE(header->arrowImage()->isHidden());

    header->refreshScrollViewDataSourceDidFinishLoading(*table);
    EXPECT_EQ(header->state(), State::Normal);
    EXPECT_EQ(header->statusLabel()->text(), base::localized("down_to_refresh"));
    advance(1);
    EXPECT_EQ(table->contentOffset(), (gfx::Point { 0, 0 }));
}

class RefreshTableFooter : public test::ListTest {
protected:
    void SetUp() override
    {
        test::ListTest::SetUp();
        table = makeTable(20);
        owner = std::make_shared<DatedListOwner>();
        table->setDelegate(owner);
        footer = kit::RefreshTableFooterView::make({ 0, 20 * 44, 320, 60 });
        table->addSubview(footer);
        owner->edge = footer;
    }

    std::shared_ptr<ui::TableView> table;
    std::shared_ptr<DatedListOwner> owner;
    std::shared_ptr<kit::RefreshTableFooterView> footer;
};

TEST_F(RefreshTableFooter, WithoutADelegateTheDateLineIsEmpty)
{
    EXPECT_EQ(footer->lastUpdatedLabel()->text(), "");
    EXPECT_EQ(footer->statusLabel()->text(), base::localized("Pull up to load more..."));
    EXPECT_TRUE(test::isHalfTurn(footer->arrowImage()->affineTransform()));
}

TEST_F(RefreshTableFooter, ReleaseBeyondTheEndLoadsMoreAndTheDateIsStoredOnReturn)
{
    footer->setDelegate(owner);
    double end = 20 * 44 - 480;
    pullAndRelease(*table, { { 0, end + 60 }, { 0, end + 66 } });
    EXPECT_EQ(owner->triggers, (std::vector<int> { kit::RefreshTableDelegate::FromFooter }));
    EXPECT_EQ(table->contentInset().bottom, 65);
    settle(*table);
    EXPECT_EQ(table->contentOffset().y, end + 65);

    owner->updated = base::Date::fromTimeIntervalSince1970(1'400'000'000);
    footer->refreshScrollViewDataSourceDidFinishLoading(*table);
    std::string line = footer->lastUpdatedLabel()->text();
    EXPECT_TRUE(line.starts_with("Last Updated: ")) << line;
    EXPECT_GT(line.size(), std::string("Last Updated: ").size());
    EXPECT_EQ(base::UserDefaults::standard().stringForKey("RefreshTableView_LastRefresh"), line);
}

} // namespace
