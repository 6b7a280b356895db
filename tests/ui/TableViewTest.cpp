#include "TouchFixture.h"
#include "UITestFixture.h"

#include "ui/scroll/CollectionView.h"
#include "ui/controls/Label.h"
#include "ui/scroll/TableSectionTitleView.h"
#include "ui/scroll/TableView.h"
#include "ui/scroll/TableViewCell.h"

#include <map>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

class CountingCell : public ui::TableViewCell {
public:
    using ui::TableViewCell::TableViewCell;
    int reuses = 0;
    void prepareForReuse() override { ++reuses; }
};

// A data source and delegate with `rows[s]` rows in section s, optional titles, heights and header views;
// it counts the cells it makes and writes down selections.
class Rows : public ui::TableViewDataSource, public ui::TableViewDelegate {
public:
    std::vector<int> rows { 20 };
    std::map<int, std::string> headerTitles;
    std::optional<double> rowHeight;
    std::shared_ptr<ui::View> headerView;
    int made = 0;
    std::vector<std::string> selections;

    int numberOfSectionsInTableView(ui::TableView&) override { return static_cast<int>(rows.size()); }
    int numberOfRowsInSection(ui::TableView&, int section) override { return rows[section]; }
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override
    {
        auto cell = table.dequeueReusableCellWithIdentifier("cell");
        if (!cell) {
            cell = std::make_shared<CountingCell>(ui::TableViewCellStyle::Default, "cell");
            ++made;
        }
        cell->textLabel()->setText(name(path));
        return cell;
    }
    std::string titleForHeaderInSection(ui::TableView&, int section) override
    {
        auto found = headerTitles.find(section);
        return found == headerTitles.end() ? "" : found->second;
    }
    std::optional<double> heightForRowAtIndexPath(ui::TableView&, ui::IndexPath) override { return rowHeight; }
    std::shared_ptr<ui::View> viewForHeaderInSection(ui::TableView&, int) override { return headerView; }
    void didSelectRowAtIndexPath(ui::TableView&, ui::IndexPath path) override
    {
        selections.push_back("select " + name(path));
    }
    void didDeselectRowAtIndexPath(ui::TableView&, ui::IndexPath path) override
    {
        selections.push_back("deselect " + name(path));
    }

    static std::string name(ui::IndexPath path)
    {
        return std::to_string(path.section) + "." + std::to_string(path.row);
    }
};

// Raises the content to the frame's size, as a table that always scrolls its whole frame does, and
// writes down every size it is given.
class FillingTable : public ui::TableView {
public:
    using ui::TableView::TableView;
    std::vector<gfx::Size> given;
    void setContentSize(gfx::Size size) override
    {
        given.push_back(size);
        gfx::Size frameSize = frame().size;
        if (size.width * size.height < frameSize.width * frameSize.height)
            size = frameSize;
        ui::TableView::setContentSize(size);
    }
};

class TableViews : public test::UITest {
protected:
    void SetUp() override
    {
        test::UITest::SetUp();
        rows = std::make_shared<Rows>();
        table = std::make_shared<ui::TableView>(gfx::Rect { 0, 0, 320, 480 });
        table->setDataSource(rows);
        table->setDelegate(rows);
    }

    std::shared_ptr<Rows> rows;
    std::shared_ptr<ui::TableView> table;
};

TEST_F(TableViews, ContentSizeSumsHeadersRowsAndFootersThroughTheOverridableSetter)
{
    auto filling = std::make_shared<FillingTable>(gfx::Rect { 0, 0, 320, 480 });
    rows->rows = { 3, 2 };
    rows->headerTitles = { { 1, "Later" } };
    rows->rowHeight = 30.5;
    std::vector<double> observed;
    filling->addContentSizeObserver(
        false, [&](const ui::PropertyChange<gfx::Size>& change) { observed.push_back(change.newValue->height); });
    filling->setDataSource(rows);
    filling->setDelegate(rows);
    filling->reloadData();

    double sum = 5 * 30.5 + filling->sectionHeaderHeight();
    ASSERT_EQ(filling->given.size(), 1u);
    EXPECT_EQ(filling->given[0], (gfx::Size { 320, sum }));
    EXPECT_EQ(filling->contentSize(), (gfx::Size { 320, 480 })) << "the override's size is the one kept";
    EXPECT_EQ(observed, std::vector<double> { 480 });
    EXPECT_EQ(filling->rectForRowAtIndexPath({ 1, 0 }), (gfx::Rect { 0, 3 * 30.5 + 22, 320, 30.5 }));
}

TEST_F(TableViews, OnlyVisibleRowsHaveCellsAndScrolledOutCellsAreReused)
{
    table->layoutIfNeeded();
    EXPECT_EQ(rows->made, 11) << "rows 0 to 10 meet the 480-point bounds";
    EXPECT_EQ(table->contentSize(), (gfx::Size { 320, 20 * 44 }));
    EXPECT_TRUE(table->cellForRowAtIndexPath({ 0, 10 }));
    EXPECT_FALSE(table->cellForRowAtIndexPath({ 0, 11 }));

    auto first = std::static_pointer_cast<CountingCell>(table->cellForRowAtIndexPath({ 0, 0 }));
    table->setContentOffset({ 0, 44 * 5 });
    auto row15 = table->cellForRowAtIndexPath({ 0, 15 });
    ASSERT_TRUE(row15);
    EXPECT_EQ(rows->made, 11) << "the cells of rows 0 to 4 came back from the pool";
    EXPECT_FALSE(table->cellForRowAtIndexPath({ 0, 0 }));
    EXPECT_EQ(row15->frame(), (gfx::Rect { 0, 15 * 44, 320, 44 })) << "cell frames are in the table's content";
    EXPECT_EQ(first->reuses, 1);
    EXPECT_EQ(first->superview().get(), table.get());
    auto reusedAt = table->indexPathForCell(*first);
    ASSERT_TRUE(reusedAt);
    EXPECT_GE(reusedAt->row, 11);
}

TEST_F(TableViews, ReloadDataRecyclesCellsKeepsOtherSubviewsInFrontAndClearsTheSelection)
{
    auto backdrop = std::make_shared<ui::View>(gfx::Rect { 0, -480, 320, 480 });
    table->addSubview(backdrop);
    table->layoutIfNeeded();
    table->selectRowAtIndexPath({ 0, 2 }, false);
    EXPECT_TRUE(table->cellForRowAtIndexPath({ 0, 2 })->isSelected());

    rows->rows = { 3 };
    table->reloadData();
    table->layoutIfNeeded();
    EXPECT_EQ(table->contentSize().height, 3 * 44);
    EXPECT_EQ(table->visibleCells().size(), 3u);
    EXPECT_EQ(rows->made, 11);
    EXPECT_FALSE(table->indexPathForSelectedRow());
    EXPECT_FALSE(table->cellForRowAtIndexPath({ 0, 2 })->isSelected());
    EXPECT_EQ(table->subviews().back(), backdrop);
    EXPECT_EQ(backdrop->frame().minY(), -480);
}

TEST_F(TableViews, HeightsOfHeadersComeFromTheDelegateViewsTitlesOrTheGroupedStyle)
{
    rows->rows = { 1, 1 };
    rows->headerView = std::make_shared<ui::View>(gfx::Rect { 0, 0, 320, 0 });
    table->reloadData();
    EXPECT_EQ(table->contentSize().height, 2 * 44) << "a zero-height header view takes no room; no footers";

    rows->headerView.reset();
    rows->headerTitles = { { 0, "Devices" } };
    table->reloadData();
    EXPECT_EQ(table->contentSize().height, 22 + 2 * 44);
    table->layoutIfNeeded();
    auto header = std::find_if(table->subviews().begin(), table->subviews().end(),
        [](auto& v) { return std::dynamic_pointer_cast<ui::TableSectionTitleView>(v) != nullptr; });
    ASSERT_NE(header, table->subviews().end());
    EXPECT_EQ((*header)->frame(), (gfx::Rect { 0, 0, 320, 22 }));

    auto grouped = std::make_shared<ui::TableView>(gfx::Rect { 0, 0, 320, 480 }, ui::TableViewStyle::Grouped);
    rows->headerTitles.clear();
    grouped->setDataSource(rows);
    grouped->setDelegate(rows);
    EXPECT_EQ(grouped->numberOfSections(), 2);
    EXPECT_EQ(grouped->contentSize().height, 2 * (28 + 44 + 10));
}

TEST_F(TableViews, TablesBounceVerticallyOverShortContent)
{
    rows->rows = { 2 };
    table->reloadData();
    EXPECT_TRUE(table->canScrollVertically());
    EXPECT_FALSE(table->canScrollHorizontally());
    table->dragTo({ 0, -40 });
    table->releaseWithVelocity({ 0, 0 });
    advance(2);
    EXPECT_EQ(table->contentOffset(), (gfx::Point { 0, 0 }));
}

TEST_F(TableViews, CountsAnswerWithoutAnExplicitReload)
{
    rows->rows = { 4, 0, 7 };
    EXPECT_EQ(table->numberOfSections(), 3);
    EXPECT_EQ(table->numberOfRowsInSection(2), 7);
    EXPECT_EQ(table->numberOfRowsInSection(3), 0);
}

class Items : public ui::CollectionViewDataSource {
public:
    int numberOfSectionsInCollectionView(ui::CollectionView&) override { return 2; }
    int numberOfItemsInSection(ui::CollectionView&, int section) override { return section == 0 ? 3 : 4; }
};

TEST_F(TableViews, CollectionViewCountsItemsAndIsNoTable)
{
    auto items = std::make_shared<Items>();
    std::shared_ptr<ui::ScrollView> view = std::make_shared<ui::CollectionView>(gfx::Rect { 0, 0, 320, 480 });
    auto collection = std::dynamic_pointer_cast<ui::CollectionView>(view);
    ASSERT_TRUE(collection);
    EXPECT_FALSE(std::dynamic_pointer_cast<ui::TableView>(view));
    EXPECT_EQ(collection->numberOfSections(), 0);
    collection->setDataSource(items);
    EXPECT_EQ(collection->numberOfItemsInSection(0) + collection->numberOfItemsInSection(1), 7);
    EXPECT_EQ(collection->numberOfItemsInSection(2), 0);
}

class TableTouches : public test::TouchFixture {
protected:
    void SetUp() override
    {
        test::TouchFixture::SetUp();
        rows = std::make_shared<Rows>();
        table = std::make_shared<ui::TableView>(gfx::Rect { 0, 0, 320, 568 });
        table->setDataSource(rows);
        table->setDelegate(rows);
        window->addSubview(table);
        finger.wait(0s);
    }
    std::shared_ptr<Rows> rows;
    std::shared_ptr<ui::TableView> table;
};

TEST_F(TableTouches, TapSelectsTheRowUnderTheFingerAndTheNextTapMovesTheSelection)
{
    finger.tap({ 100, 44 * 2 + 10 });
    EXPECT_EQ(rows->selections, std::vector<std::string> { "select 0.2" });
    EXPECT_EQ(table->indexPathForSelectedRow(), (ui::IndexPath { 0, 2 }));
    EXPECT_TRUE(table->cellForRowAtIndexPath({ 0, 2 })->isSelected());

    finger.tap({ 100, 44 * 5 + 10 });
    EXPECT_EQ(rows->selections, (std::vector<std::string> { "select 0.2", "deselect 0.2", "select 0.5" }));
    EXPECT_FALSE(table->cellForRowAtIndexPath({ 0, 2 })->isSelected());

    table->deselectRowAtIndexPath({ 0, 5 }, true);
    EXPECT_FALSE(table->indexPathForSelectedRow());
    EXPECT_FALSE(table->cellForRowAtIndexPath({ 0, 5 })->isSelected());
}

TEST_F(TableTouches, DraggingTheListSelectsNothing)
{
    finger.drag({ 100, 400 }, { 100, 200 });
    EXPECT_TRUE(rows->selections.empty());
    EXPECT_GT(table->contentOffset().y, 0);
    for (auto& cell : table->visibleCells())
        EXPECT_FALSE(cell->isHighlighted());
}

} // namespace
