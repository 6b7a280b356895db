// The view utilities (owning controller, stacking order among siblings) and the table whose content is never
// smaller than its frame.
#include "kit/widgets/MyTableView.h"
#include "kit/support/ViewAddition.h"

#include "OverlayTestFixture.h"
#include "ui/scroll/TableViewCell.h"

namespace {

class ViewUtilitiesTest : public test::WidgetTest {
protected:
    void SetUp() override
    {
        test::WidgetTest::SetUp();
        for (auto& view : { a, b, c })
            parent->addSubview(view);
    }

    std::vector<ui::View*> order() const
    {
        std::vector<ui::View*> views;
        for (const auto& view : parent->subviews())
            views.push_back(view.get());
        return views;
    }

    std::shared_ptr<ui::View> parent = std::make_shared<ui::View>();
    std::shared_ptr<ui::View> a = std::make_shared<ui::View>();
    std::shared_ptr<ui::View> b = std::make_shared<ui::View>();
    std::shared_ptr<ui::View> c = std::make_shared<ui::View>();
};

TEST_F(ViewUtilitiesTest, OneLevelUpAndDownStopAtTheEnds)
{
    kit::bringOneLevelUp(*c);
    EXPECT_EQ(order(), (std::vector<ui::View*> { a.get(), b.get(), c.get() }));
    kit::sendOneLevelDown(*a);
    EXPECT_EQ(order(), (std::vector<ui::View*> { a.get(), b.get(), c.get() }));
    kit::bringOneLevelUp(*a);
    EXPECT_EQ(order(), (std::vector<ui::View*> { b.get(), a.get(), c.get() }));
    kit::sendOneLevelDown(*c);
    EXPECT_EQ(order(), (std::vector<ui::View*> { b.get(), c.get(), a.get() }));
    EXPECT_TRUE(kit::isInFront(*a));
    EXPECT_TRUE(kit::isAtBack(*b));
    EXPECT_FALSE(kit::isInFront(*c));
    EXPECT_FALSE(kit::isAtBack(*c));

    kit::sendToBack(*a);
    kit::bringToFront(*b);
    EXPECT_EQ(order(), (std::vector<ui::View*> { a.get(), c.get(), b.get() }));
}

TEST_F(ViewUtilitiesTest, AViewWithoutSuperviewIsNeitherInFrontNorAtBack)
{
    auto loose = std::make_shared<ui::View>();
    kit::bringOneLevelUp(*loose);
    kit::sendOneLevelDown(*loose);
    kit::bringToFront(*loose);
    kit::sendToBack(*loose);
    EXPECT_FALSE(kit::isInFront(*loose));
    EXPECT_FALSE(kit::isAtBack(*loose));
    EXPECT_FALSE(kit::viewController(*loose));
}

TEST_F(ViewUtilitiesTest, OwningControllerIsFoundAmongTheAncestorsOnly)
{
    auto outer = std::make_shared<ui::ViewController>();
    auto inner = std::make_shared<ui::ViewController>();
    auto button = std::make_shared<ui::View>();
    auto nested = std::make_shared<ui::View>();
    inner->view()->addSubview(button);
    button->addSubview(nested);
    EXPECT_EQ(kit::viewController(*button), inner);
    EXPECT_EQ(kit::viewController(*nested), inner);
    // The root view itself: the next enclosing controller, or none.
    EXPECT_FALSE(kit::viewController(*inner->view()));
    outer->view()->addSubview(inner->view());
    EXPECT_EQ(kit::viewController(*inner->view()), outer);
}

class CountingRows : public ui::TableViewDataSource {
public:
    int numberOfRowsInSection(ui::TableView&, int) override { return rows; }
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView&, ui::IndexPath) override
    {
        return std::make_shared<ui::TableViewCell>();
    }
    int rows { 2 };
};

TEST_F(ViewUtilitiesTest, TableContentFollowsItsRowsButNeverShrinksBelowTheFrame)
{
    auto rows = std::make_shared<CountingRows>();
    auto table = std::make_shared<kit::MyTableView>(gfx::Rect { 0, 0, 320, 200 });
    table->setDataSource(rows);
    window->addSubview(table);
    table->reloadData();
    EXPECT_EQ(table->contentSize(), (gfx::Size { 320, 200 }));
    rows->rows = 10;
    table->reloadData();
    EXPECT_EQ(table->contentSize(), (gfx::Size { 320, 440 }));
    rows->rows = 3;
    table->reloadData();
    EXPECT_EQ(table->contentSize(), (gfx::Size { 320, 200 }));
}

} // namespace
