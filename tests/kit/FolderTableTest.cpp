// The folder table: covers cut from the table's picture at a row, the content between them, and closing with
// one completion, on a real table in a window on the manual clock.
#include "ListFixture.h"
#include "SnapshotProbes.h"

#include "host/HeadlessHost.h"
#include "kit/folder/FolderTableView.h"
#include "ui/controls/ImageView.h"

#include <filesystem>

namespace {

class ArrowAtSixty : public kit::FolderTableViewDelegate {
public:
    std::optional<double> tableViewXForRowAtIndexPath(kit::FolderTableView&, ui::IndexPath) override { return 60; }
};

class FolderTable : public test::ListTest {
protected:
    void SetUp() override
    {
        test::ListTest::SetUp();
        source = std::make_shared<test::NumberedRows>(30);
        table = std::make_shared<kit::FolderTableView>(gfx::Rect { 0, 20, 320, 480 });
        table->setDataSource(source);
        window->addSubview(table);
        turn();
    }

    std::shared_ptr<ui::View> content(double height)
    {
        auto view = std::make_shared<ui::View>(gfx::Rect { 0, 0, 320, height });
        view->setBackgroundColor(gfx::Color::rgb(0.2, 0.4, 0.7));
        return view;
    }

    void open(int row, std::shared_ptr<ui::View> view)
    {
        table->openFolderAtIndexPath(
            { 0, row }, std::move(view),
            [this](const std::shared_ptr<ui::View>& v, double duration, const ui::TimingFunction&) {
                opened.push_back({ v.get(), duration });
            },
            [this](const std::shared_ptr<ui::View>&, double, const ui::TimingFunction&) { ++closeBlocks; },
            [this] { ++completions; });
    }

    std::shared_ptr<kit::FolderTableView> table;
    std::vector<std::pair<ui::View*, double>> opened;
    int closeBlocks { 0 };
    int completions { 0 };
};

TEST_F(FolderTable, CoversAreCutAtTheRowsBottomAndTheBottomOneSlidesDownByTheContent)
{
    auto list = content(100);
    open(2, list);
    double cut = 3 * 44 - 1;
    EXPECT_EQ(table->top()->frame(), (gfx::Rect { 0, 0, 320, cut }));
    EXPECT_EQ(table->bottom()->frame(), (gfx::Rect { 0, cut + 100, 320, 480 - cut }));
    EXPECT_EQ(list->frame(), (gfx::Rect { 0, cut, 320, 100 }));
    EXPECT_EQ(table->top()->cover()->frame().height(), cut - table->rowHeight()) << "the opened row stays unveiled";
    EXPECT_EQ(table->top()->cover()->alpha(), 0.6);
    EXPECT_EQ(table->top()->position(), (gfx::Point { 40, cut }));
    ASSERT_TRUE(table->top()->layer()->contents());
    EXPECT_EQ(table->top()->layer()->contents()->pixelHeight(), static_cast<int>(cut * 2));
    EXPECT_EQ(opened, (std::vector<std::pair<ui::View*, double>> { { list.get(), 0.4 } }));

    const auto& subviews = table->subviews();
    auto at = [&](const ui::View* v) {
        return std::find_if(subviews.begin(), subviews.end(), [v](auto& s) { return s.get() == v; });
    };
    EXPECT_LT(at(list.get()), at(table->top().get())) << "the covers lie over the content";

    auto tip = std::dynamic_pointer_cast<ui::ImageView>(table->top()->subviews().back());
    ASSERT_TRUE(tip && tip->image());
    EXPECT_EQ(tip->center(), (gfx::Point { 40, cut - 2 }));
}

TEST_F(FolderTable, TheDelegatePlacesTheArrow)
{
    auto delegate = std::make_shared<ArrowAtSixty>();
    table->setFolderDelegate(delegate);
    open(1, content(50));
    EXPECT_EQ(table->top()->position().x, 60);
}

TEST_F(FolderTable, TallContentPushesTheTopCoverUpAndEndsAtTheVisibleBottom)
{
    auto list = content(400);
    open(4, list);
    double cut = 5 * 44 - 1;
    EXPECT_EQ(list->frame().origin.y, 480 - 400);
    EXPECT_EQ(table->top()->frame().maxY(), 480 - 400) << "moved up just enough to uncover the content";
    EXPECT_EQ(table->bottom()->frame().origin.y, cut + 400);
}

TEST_F(FolderTable, ARowBelowTheVisibleAreaScrollsIntoViewAndClosingScrollsBack)
{
    table->setContentOffset({ 0, 20 });
    turn();
    open(12, content(100));
    double cut = 13 * 44 - 1;
    EXPECT_EQ(table->offsetY(), cut - 480 - 20);
    EXPECT_EQ(table->contentOffset().y, cut - 480);
    EXPECT_EQ(table->top()->frame().height(), 480);

    table->performClose();
    EXPECT_EQ(table->contentOffset().y, 20);
    advance(0.5);
    EXPECT_EQ(completions, 1);
}

TEST_F(FolderTable, ARowAboveTheVisibleAreaIsCutAtItsRectangle)
{
    table->setContentOffset({ 0, 300 });
    turn();
    open(1, content(100));
    ASSERT_TRUE(table->top());
    EXPECT_EQ(table->contentOffset().y, 44) << "scrolled up to the row's top";
    EXPECT_EQ(table->top()->frame(), (gfx::Rect { 0, 44, 320, 43 }));
}

TEST_F(FolderTable, ARowThatDoesNotExistOpensNothing)
{
    open(99, content(100));
    EXPECT_FALSE(table->top());
    EXPECT_TRUE(opened.empty());
}

TEST_F(FolderTable, TappingACoverClosesOnceWithOneCompletion)
{
    auto list = content(100);
    open(2, list);
    advance(0.5);
    finger.tap({ 160, 20 + 40 });
    EXPECT_TRUE(table->isClosing());
    table->performClose();
    finger.tap({ 160, 20 + 400 });
    EXPECT_EQ(closeBlocks, 1);
    EXPECT_EQ(table->top()->cover()->alpha(), 0);
    advance(0.25);
    EXPECT_EQ(completions, 0) << "the covers are still sliding back";
    advance(0.1);
    EXPECT_EQ(completions, 1);
    EXPECT_FALSE(table->top());
    EXPECT_FALSE(list->superview());
    advance(1);
    EXPECT_EQ(completions, 1);
}

TEST_F(FolderTable, AnOpenWhileOpenIsIgnoredAndAClosedTableOpensAgain)
{
    open(2, content(100));
    auto firstTop = table->top();
    open(5, content(80));
    EXPECT_EQ(table->top(), firstTop);
    EXPECT_EQ(opened.size(), 1u);

    table->performClose();
    open(5, content(80));
    EXPECT_EQ(table->top(), firstTop) << "nor while closing";
    advance(0.5);
    open(5, content(80));
    EXPECT_NE(table->top(), firstTop);
    EXPECT_EQ(opened.size(), 2u);
}

TEST_F(FolderTable, SnapshotOfAnOpenFolder)
{
    gfx::TextMeasurer::Override realText { nullptr };
    window->setBackgroundColor(gfx::Color::white());
    auto list = content(132);
    for (int i = 0; i < 3; ++i) {
        auto label = std::make_shared<ui::Label>(gfx::Rect { 20, 10.0 + i * 40, 280, 30 });
        label->setText("Alarm " + std::to_string(i + 1) + "   07:3" + std::to_string(i));
        label->setTextColor(gfx::Color::white());
        list->addSubview(label);
    }
    open(2, list);
    advance(0.5);
    host::HeadlessHost host { LUMET_SNAPSHOT_DIR };
    auto path = host.writeFrame("kit-folder-table-open");
    ASSERT_TRUE(path);
    EXPECT_TRUE(std::filesystem::exists(*path));
    // The folder's content opens under its row, between the two halves of the table.
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(test::showsText(*list, "Alarm " + std::to_string(i + 1), { 0, 0, 320, 132 }));
    const gfx::Color folderBlue = gfx::Color::rgb(0.2, 0.4, 0.7);
    EXPECT_TRUE(test::shows(*list, { 310, 5 }, folderBlue));
    EXPECT_TRUE(test::shows(*list, { 310, 127 }, folderBlue));
    EXPECT_FALSE(test::shows(*table->top(), { 310, table->top()->bounds().height() - 5 }, folderBlue));
    EXPECT_FALSE(test::shows(*table->bottom(), { 310, 5 }, folderBlue));
}

} // namespace
