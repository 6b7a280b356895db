// The drop-down box: how it is built, opening and closing by its button, choosing a row by touch (also when
// the text field takes no typing), and a picture of it open.
#include "kit/widgets/DropBoxView.h"

#include "OverlayTestFixture.h"
#include "SnapshotProbes.h"
#include "host/HeadlessHost.h"
#include "ui/scroll/TableViewCell.h"
#include "ui/input/TouchDriver.h"

#include <filesystem>

namespace {

class RecordingDropBoxDelegate : public kit::DropBoxDelegate {
public:
    void selectAtIndex(int index, kit::DropBoxView& box) override
    {
        chosen.push_back(index);
        closedWhenTold = box.buttonImageFlag();
    }

    std::vector<int> chosen;
    bool closedWhenTold { false };
};

class DropDownTest : public test::WidgetTest {
protected:
    void SetUp() override
    {
        test::WidgetTest::SetUp();
        box->setControlsViewOriginx(20, 100, 150, 30, 30, 120, false);
        box->setArr({ "Daily", "Weekly", "Monthly" });
        box->setDelegate(delegate);
        window->addSubview(box);
        turn();
    }

    // Animations still running hold what they animate; letting them end leaves nothing behind.
    void TearDown() override
    {
        advance(10);
        test::WidgetTest::TearDown();
    }

    void pressButton() { finger.tap({ 20 + 150 + 15, 115 }); }

    std::shared_ptr<kit::DropBoxView> box = std::make_shared<kit::DropBoxView>();
    std::shared_ptr<RecordingDropBoxDelegate> delegate = std::make_shared<RecordingDropBoxDelegate>();
    ui::TouchDriver finger;
};

TEST_F(DropDownTest, BuildsAClosedOneRowBox)
{
    EXPECT_EQ(box->frame(), (gfx::Rect { 20, 100, 180, 30 }));
    EXPECT_EQ(box->view()->frame(), (gfx::Rect { 0, 0, 180, 30 }));
    EXPECT_EQ(box->view()->layer()->borderWidth(), 1);
    EXPECT_EQ(box->textField()->frame(), (gfx::Rect { 0, 0, 150, 30 }));
    EXPECT_FALSE(box->textField()->isUserInteractionEnabled());
    EXPECT_EQ(box->textField()->font(), gfx::Font::system(15));
    EXPECT_EQ(box->button()->frame(), (gfx::Rect { 150, 0, 30, 30 }));
    EXPECT_EQ(box->imageView()->frame(), (gfx::Rect { 0, 0, 30, 30 }));
    EXPECT_EQ(box->tableView()->frame(), (gfx::Rect { 0, 30, 180, 120 }));
    EXPECT_TRUE(box->tableView()->isHidden());
    EXPECT_TRUE(box->buttonImageFlag());
    EXPECT_EQ(box->tableView()->layer()->borderColor(), kit::DropBoxView::separatorColor());
}

TEST_F(DropDownTest, ButtonOpensTheListAndClosesItAgain)
{
    pressButton();
    EXPECT_FALSE(box->buttonImageFlag());
    EXPECT_EQ(box->frame(), (gfx::Rect { 20, 100, 180, 150 }));
    EXPECT_FALSE(box->tableView()->isHidden());
    EXPECT_EQ(box->imageView()->transform(), gfx::AffineTransform::makeScale(1, -1));
    EXPECT_EQ(box->tableView()->numberOfRowsInSection(0), 3);
    ASSERT_TRUE(box->tableView()->cellForRowAtIndexPath({ 0, 2 }));
    EXPECT_EQ(box->tableView()->rectForRowAtIndexPath({ 0, 2 }).minY(), 61);

    pressButton();
    EXPECT_TRUE(box->buttonImageFlag());
    EXPECT_EQ(box->frame(), (gfx::Rect { 20, 100, 180, 30 }));
    EXPECT_TRUE(box->tableView()->isHidden());
    EXPECT_TRUE(box->imageView()->transform().isIdentity());
}

TEST_F(DropDownTest, ChoosingARowFillsTheFieldClosesTheListAndTellsTheDelegate)
{
    pressButton();
    finger.tap({ 60, 100 + 30 + 30.5 + 15 });
    EXPECT_EQ(box->textField()->text(), "Weekly");
    EXPECT_EQ(delegate->chosen, (std::vector<int> { 1 }));
    EXPECT_TRUE(delegate->closedWhenTold);
    EXPECT_TRUE(box->tableView()->isHidden());
    EXPECT_EQ(box->frame().height(), 30);
    EXPECT_FALSE(box->tableView()->indexPathForSelectedRow());

    // With the delegate gone the choice is still made.
    delegate.reset();
    pressButton();
    finger.tap({ 60, 100 + 30 + 15 });
    EXPECT_EQ(box->textField()->text(), "Daily");
}

TEST_F(DropDownTest, RowsCarryTheirTextAndASeparatorLine)
{
    pressButton();
    auto cell = box->tableView()->cellForRowAtIndexPath({ 0, 1 });
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->reuseIdentifier(), "cell");
    EXPECT_EQ(cell->textLabel()->text(), "Weekly");
    bool hasLine = false;
    for (const auto& view : cell->subviews()) {
        hasLine = hasLine
            || (view->frame() == gfx::Rect { 0, 30, 180, 0.5 }
                && view->backgroundColor() == kit::DropBoxView::separatorColor());
    }
    EXPECT_TRUE(hasLine);
}

TEST_F(DropDownTest, Snapshot)
{
    gfx::TextMeasurer::Override realText { nullptr };
    host::HeadlessHost host { LUMET_SNAPSHOT_DIR };
    window->setBackgroundColor(gfx::Color::fromWhite(0.93, 1));
    // The arrow is white; a grey button shows it.
    box->button()->setBackgroundColor(gfx::Color::fromWhite(0.6, 1));
    box->textField()->setText("Weekly");
    pressButton();
    advance(0.5);
    auto path = host.writeFrame("kit-drop-down");
    ASSERT_TRUE(path);
    EXPECT_TRUE(std::filesystem::exists(*path));
    // The choice in the field, the grey button beside it and the list open below with every choice.
    EXPECT_TRUE(test::showsText(*window, "Weekly", { 20, 100, 150, 30 }));
    EXPECT_TRUE(test::shows(*box->button(), { 2, 15 }, gfx::Color::fromWhite(0.6, 1)));
    EXPECT_TRUE(test::showsText(*window, "Daily", { 20, 130, 180, 120 }));
    EXPECT_TRUE(test::showsText(*window, "Monthly", { 20, 130, 180, 120 }));
    EXPECT_TRUE(test::shows(*window, { 250, 200 }, gfx::Color::fromWhite(0.93, 1)));
}

} // namespace
