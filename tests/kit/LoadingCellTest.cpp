// The load-more cell in a table: reused by its identifier, its label across the whole row and its spinner at
// the left margin at any row size, and no highlight when the row is tapped.
#include "kit/widgets/LoadingCell.h"

#include "ListFixture.h"
#include "SnapshotProbes.h"
#include "ui/controls/ActivityIndicatorView.h"

namespace {

// One load-more row of `height` points below nothing else.
class LoadingRow : public ui::TableViewDataSource {
public:
    int numberOfRowsInSection(ui::TableView&, int) override { return 1; }
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath) override
    {
        auto cell = std::dynamic_pointer_cast<kit::LoadingCell>(
            table.dequeueReusableCellWithIdentifier(kit::LoadingCell::cellIdentifier));
        if (!cell) {
            cell = std::make_shared<kit::LoadingCell>();
            ++made;
        }
        cell->lbl()->setText("Loading more");
        cell->loading()->startAnimating();
        return cell;
    }
    int made { 0 };
};

class LoadingCellTest : public test::ListTest {
protected:
    std::shared_ptr<ui::TableView> table(const gfx::Rect& frame)
    {
        auto table = std::make_shared<ui::TableView>(frame);
        table->setDataSource(rows);
        window->addSubview(table);
        table->reloadData();
        turn();
        return table;
    }

    std::shared_ptr<kit::LoadingCell> shownCell(ui::TableView& table)
    {
        return std::dynamic_pointer_cast<kit::LoadingCell>(table.cellForRowAtIndexPath({ 0, 0 }));
    }

    std::shared_ptr<LoadingRow> rows = std::make_shared<LoadingRow>();
};

TEST_F(LoadingCellTest, ReloadsReuseTheCellByItsIdentifier)
{
    auto list = table({ 0, 20, 320, 300 });
    auto first = shownCell(*list);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->reuseIdentifier(), "loadingCell");
    list->reloadData();
    turn();
    EXPECT_EQ(shownCell(*list), first);
    EXPECT_EQ(rows->made, 1);
}

TEST_F(LoadingCellTest, LabelSpansTheRowAndSpinnerSitsAtTheLeftMarginAtAnyWidth)
{
    for (double width : { 320.0, 200.0 }) {
        auto list = table({ 0, 20, width, 300 });
        auto cell = shownCell(*list);
        ASSERT_TRUE(cell);
        gfx::Rect area = cell->contentView()->bounds();
        EXPECT_EQ(cell->lbl()->frame(), area) << width;
        gfx::Size spinner = cell->loading()->bounds().size;
        EXPECT_EQ(cell->loading()->center(), (gfx::Point { 15 + spinner.width / 2, area.midY() })) << width;
        EXPECT_TRUE(test::showsText(*cell, "Loading more", area)) << width;
        list->removeFromSuperview();
    }
}

TEST_F(LoadingCellTest, TappingTheRowLeavesItUnhighlighted)
{
    auto list = table({ 0, 20, 320, 300 });
    auto cell = shownCell(*list);
    ASSERT_TRUE(cell);
    gfx::Point blank { 300, 5 };
    gfx::Color before = test::ScreenProbe::colourAt(*cell, blank);
    finger.down(test::ScreenProbe::toScreen(*cell, { 200, 22 }));
    turn();
    EXPECT_TRUE(test::shows(*cell, blank, before));
    finger.up();
    turn();
    EXPECT_TRUE(test::shows(*cell, blank, before));
}

} // namespace
