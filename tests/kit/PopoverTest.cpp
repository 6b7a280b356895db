// The popover bubble on the manual clock with fixed text metrics (a 20-point character is 10 points wide and
// a line 25 points high): placement, stacking and dividers, tap routing by touch sequences, a single
// dismissal, re-showing, the busy and result states, and a picture of it.
#include "kit/popover/PopoverBubble.h"

#include "OverlayTestFixture.h"
#include "SnapshotProbes.h"
#include "host/HeadlessHost.h"
#include "ui/controls/ActivityIndicatorView.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/Label.h"
#include "ui/input/TouchDriver.h"

#include <filesystem>

namespace {

class RecordingPopoverDelegate : public kit::PopoverBubbleDelegate {
public:
    void popoverBubbleDidSelectItemAtIndex(kit::PopoverBubble&, int index) override { selected.push_back(index); }
    void popoverBubbleDidDismiss(kit::PopoverBubble& popover) override
    {
        ++dismissals;
        inSuperviewWhenTold = popover.superview() != nullptr;
    }

    std::vector<int> selected;
    int dismissals { 0 };
    bool inSuperviewWhenTold { true };
};

class PopoverTest : public test::WidgetTest {
protected:
    void SetUp() override
    {
        test::WidgetTest::SetUp();
        screen = std::make_shared<ui::View>(ui::Screen::main().bounds());
        window->addSubview(screen);
    }

    // Animations still running hold what they animate; letting them end leaves nothing behind.
    void TearDown() override
    {
        advance(10);
        test::WidgetTest::TearDown();
    }

    std::shared_ptr<ui::View> box(double width, double height)
    {
        return std::make_shared<ui::View>(gfx::Rect { 0, 0, width, height });
    }

    std::shared_ptr<ui::View> screen;
    std::shared_ptr<RecordingPopoverDelegate> delegate = std::make_shared<RecordingPopoverDelegate>();
    ui::TouchDriver finger;
};

TEST_F(PopoverTest, HomeScreenPickerGoesBelowThePointAndKeepsTwentyPointsFromTheRightEdge)
{
    auto picker = box(230, 120);
    auto popover = kit::PopoverBubble::showPopoverAtPointWithTitleWithContentView(
        { 280, 52 }, screen, "Playback", picker, delegate);

    EXPECT_EQ(popover->superview(), screen);
    EXPECT_FALSE(popover->isAbove());
    EXPECT_EQ(popover->arrowPoint(), (gfx::Point { 280, 52 }));
    // Bubble 250 wide: 320 - 250 - 20 = 50; below the arrow by its length.
    EXPECT_EQ(popover->boxFrame(), (gfx::Rect { 50, 64, 250, 185 }));
    // The container: title (80 x 25) and 20 points, then the picker.
    EXPECT_EQ(popover->contentView()->frame(), (gfx::Rect { 60, 74, 230, 165 }));
    EXPECT_EQ(picker->frame(), (gfx::Rect { 0, 45, 230, 120 }));
    ASSERT_TRUE(popover->titleView());
    EXPECT_EQ(popover->titleView()->frame(), (gfx::Rect { 75, 0, 80, 25 }));
    EXPECT_EQ(popover->subviewsArray().size(), 1u);
    EXPECT_TRUE(popover->dividerRects().empty());
    EXPECT_EQ(popover->layer()->anchorPoint(), (gfx::Point { 280.0 / 320, 52.0 / 568 }));
    EXPECT_EQ(popover->delegate(), delegate);
    // Scaled in about the arrow tip, then covering the top view.
    advance(0.5);
    EXPECT_EQ(popover->frame(), screen->bounds());
    EXPECT_EQ(popover->alpha(), 1);
}

TEST_F(PopoverTest, ArrowTipKeepsThirtyOnePointsFromEitherEdge)
{
    struct Case {
        double x;
        double tip;
    };
    for (Case c : { Case { 5, 31 }, Case { 30, 31 }, Case { 31, 31 }, Case { 289, 289 }, Case { 290, 289 },
             Case { 319, 289 }, Case { 160, 160 } }) {
        auto popover = std::make_shared<kit::PopoverBubble>();
        popover->showAtPointWithContentView({ c.x, 300 }, screen, box(40, 40));
        EXPECT_EQ(popover->arrowPoint().x, c.tip) << "point x " << c.x;
        popover->removeFromSuperview();
    }
}

TEST_F(PopoverTest, BubbleGoesAboveWhenThereIsRoomAndStaysInsideTheLeftEdge)
{
    auto popover = std::make_shared<kit::PopoverBubble>();
    popover->showAtPointWithContentView({ 40, 400 }, screen, box(200, 100));
    EXPECT_TRUE(popover->isAbove());
    // Arrow at the bottom edge: the bubble ends 12 points above the point; it would start at -70, so 10.
    EXPECT_EQ(popover->boxFrame(), (gfx::Rect { 10, 268, 220, 120 }));
    EXPECT_EQ(popover->contentView()->frame(), (gfx::Rect { 20, 278, 200, 100 }));

    // Exactly h + 62 points above the point is room enough; one point less is not.
    auto exact = std::make_shared<kit::PopoverBubble>();
    exact->showAtPointWithContentView({ 160, 162 }, screen, box(100, 100));
    EXPECT_TRUE(exact->isAbove());
    auto tight = std::make_shared<kit::PopoverBubble>();
    tight->showAtPointWithContentView({ 160, 161 }, screen, box(100, 100));
    EXPECT_FALSE(tight->isAbove());
}

TEST_F(PopoverTest, StringListsStackWithDividersAndWidenToTheWidestLabel)
{
    auto popover = kit::PopoverBubble::showPopoverAtPointWithStringArray(
        { 160, 100 }, screen, { "One", "Three", "Two" }, delegate);
    const auto& items = popover->subviewsArray();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0]->frame(), (gfx::Rect { 0, 0, 50, 25 }));
    EXPECT_EQ(items[1]->frame(), (gfx::Rect { 0, 35, 50, 25 }));
    EXPECT_EQ(items[2]->frame(), (gfx::Rect { 0, 70, 50, 25 }));
    EXPECT_EQ(items[0]->layer()->cornerRadius(), 4);
    EXPECT_EQ(popover->contentView()->frame().size, (gfx::Size { 50, 95 }));
    ASSERT_EQ(popover->dividerRects().size(), 2u);
    EXPECT_EQ(popover->dividerRects()[0], (gfx::Rect { 0, 30, 50, 0.5 }));
    EXPECT_EQ(popover->dividerRects()[1], (gfx::Rect { 0, 65, 50, 0.5 }));
    EXPECT_FALSE(popover->titleView());
}

TEST_F(PopoverTest, TitledListsCentreTheirItemsUnderTheTitle)
{
    auto narrow = box(40, 30);
    auto wide = box(120, 30);
    auto popover = std::make_shared<kit::PopoverBubble>();
    popover->showAtPointWithTitleWithViewArray({ 160, 100 }, screen, "Pick", { narrow, wide });
    EXPECT_EQ(narrow->frame(), (gfx::Rect { 40, 45, 40, 30 }));
    EXPECT_EQ(wide->frame(), (gfx::Rect { 0, 85, 120, 30 }));
    ASSERT_EQ(popover->dividerRects().size(), 1u);
    EXPECT_EQ(popover->dividerRects()[0], (gfx::Rect { 40, 80, 40, 0.5 }));
    EXPECT_EQ(popover->contentView()->frame().size, (gfx::Size { 120, 115 }));

    // No title: no title view, and the first item starts 10 points down.
    auto untitled = std::make_shared<kit::PopoverBubble>();
    auto only = box(60, 30);
    untitled->showAtPointWithTitleWithViewArray({ 160, 300 }, screen, "", { only });
    EXPECT_FALSE(untitled->titleView());
    EXPECT_EQ(only->frame(), (gfx::Rect { 0, 10, 60, 30 }));
}

TEST_F(PopoverTest, TapOnAnItemHighlightsItAndReportsItsIndexWithoutDismissing)
{
    auto popover = kit::PopoverBubble::showPopoverAtPointWithStringArray(
        { 160, 100 }, screen, { "One", "Three", "Two" }, delegate);
    advance(0.5);
    gfx::Point content = popover->contentView()->frame().origin;

    finger.tap({ content.x + 25, content.y + 35 + 12 });
    EXPECT_EQ(delegate->selected, (std::vector<int> { 1 }));
    auto* label = dynamic_cast<ui::Label*>(popover->subviewsArray()[1].get());
    ASSERT_TRUE(label);
    EXPECT_EQ(label->textColor(), gfx::Color::white());
    EXPECT_EQ(label->backgroundColor(), kit::PopoverBubble::textColor());

    // Between two items, inside the content: nothing.
    finger.tap({ content.x + 25, content.y + 31 });
    advance(1);
    EXPECT_EQ(delegate->selected, (std::vector<int> { 1 }));
    EXPECT_EQ(popover->superview(), screen);
    EXPECT_EQ(delegate->dismissals, 0);
}

TEST_F(PopoverTest, TapOutsideTheContentDismissesOnceEvenWhenDismissIsCalledAgain)
{
    auto popover = kit::PopoverBubble::showPopoverAtPointWithTitleWithContentView(
        { 280, 52 }, screen, "Playback", box(230, 120), delegate);
    advance(0.5);

    finger.tap({ 20, 500 });
    EXPECT_TRUE(popover->isDismissing());
    EXPECT_EQ(popover->superview(), screen);
    // The home screen's delayed dismiss lands while the first dismissal runs, and again after it.
    popover->dismiss();
    popover->dismiss2();
    EXPECT_FALSE(popover->isHidden());
    advance(0.31);
    EXPECT_FALSE(popover->superview());
    EXPECT_EQ(delegate->dismissals, 1);
    EXPECT_FALSE(delegate->inSuperviewWhenTold);
    popover->dismiss();
    advance(1);
    EXPECT_EQ(delegate->dismissals, 1);
}

TEST_F(PopoverTest, DismissTwoHidesAtOnceAndAGoneDelegateIsSkipped)
{
    auto popover = kit::PopoverBubble::showPopoverAtPointWithText({ 160, 300 }, screen, "Saved to the watch", delegate);
    advance(0.5);
    delegate.reset();
    popover->dismiss2();
    EXPECT_TRUE(popover->isHidden());
    advance(0.31);
    EXPECT_FALSE(popover->superview());
}

TEST_F(PopoverTest, ShowingAgainWhileOnScreenIsIgnored)
{
    auto popover = std::make_shared<kit::PopoverBubble>();
    auto first = box(100, 40);
    popover->showAtPointWithStringArray({ 160, 300 }, screen, { "A", "B" });
    auto content = popover->contentView();
    auto dividers = popover->dividerRects();
    popover->showAtPointWithContentView({ 50, 50 }, screen, first);
    popover->showAtPointWithStringArray({ 50, 50 }, screen, { "C", "D", "E" });
    EXPECT_EQ(popover->contentView(), content);
    EXPECT_EQ(popover->dividerRects(), dividers);
    EXPECT_EQ(popover->gestureRecognizers().size(), 1u);

    // After its dismissal it can be shown afresh, still with one recogniser.
    popover->dismiss();
    advance(0.31);
    popover->showAtPointWithContentView({ 160, 300 }, screen, first);
    EXPECT_EQ(popover->contentView(), first);
    EXPECT_TRUE(popover->dividerRects().empty());
    EXPECT_FALSE(popover->isDismissing());
    EXPECT_EQ(popover->gestureRecognizers().size(), 1u);
}

TEST_F(PopoverTest, BusyStateKeepsOneSpinnerSwitchesTheDividersOffAndRetitles)
{
    auto popover = std::make_shared<kit::PopoverBubble>();
    popover->showAtPointWithTitleWithStringArray({ 160, 100 }, screen, "Devices", { "Watch", "Tracker" });
    advance(0.5);
    ASSERT_TRUE(popover->showsDividerRects());

    popover->showActivityIndicatorWithMessage(std::string("Loading"));
    popover->showActivityIndicatorWithMessage(std::string("Still loading"));
    advance(0.3);
    int spinners = 0;
    for (const auto& view : popover->contentView()->subviews())
        spinners += dynamic_cast<ui::ActivityIndicatorView*>(view.get()) != nullptr;
    EXPECT_EQ(spinners, 1);
    EXPECT_FALSE(popover->showsDividerRects());
    EXPECT_EQ(popover->subviewsArray()[0]->alpha(), 0);
    EXPECT_EQ(dynamic_cast<ui::Label&>(*popover->titleView()).text(), "Still loading");
    gfx::Rect bounds = popover->contentView()->bounds();
    EXPECT_EQ(popover->activityIndicator()->frame(), (gfx::Rect { bounds.midX() - 10, bounds.midY() + 10, 20, 20 }));

    auto spinner = popover->activityIndicator();
    popover->hideActivityIndicatorWithMessage(std::nullopt);
    advance(0.2);
    EXPECT_FALSE(spinner->superview());
    EXPECT_FALSE(popover->activityIndicator());
    EXPECT_EQ(dynamic_cast<ui::Label&>(*popover->titleView()).text(), "");
}

TEST_F(PopoverTest, ErrorMarkGrowsInBelowTheMiddle)
{
    auto popover = std::make_shared<kit::PopoverBubble>();
    popover->showAtPointWithContentView({ 160, 300 }, screen, box(100, 80));
    popover->showError();
    auto mark = std::dynamic_pointer_cast<ui::ImageView>(popover->contentView()->subviews().back());
    ASSERT_TRUE(mark);
    EXPECT_TRUE(mark->image());
    advance(0.25);
    EXPECT_EQ(mark->alpha(), 1);
    EXPECT_TRUE(mark->transform().isIdentity());
    EXPECT_EQ(mark->frame(), (gfx::Rect { 30, 40, 40, 40 }));
}

TEST_F(PopoverTest, Snapshot)
{
    gfx::TextMeasurer::Override realText { nullptr };
    host::HeadlessHost host { LUMET_SNAPSHOT_DIR };
    screen->setBackgroundColor(gfx::Color::rgb(0.2, 0.45, 0.7));
    auto picker = box(230, 120);
    picker->setBackgroundColor(gfx::Color::fromWhite(250.0 / 255, 1));
    kit::PopoverBubble::showPopoverAtPointWithTitleWithContentView(
        { 280, 52 }, screen, "Playback duration", picker, delegate);
    kit::PopoverBubble::showPopoverAtPointWithStringArray(
        { 100, 520 }, screen, { "Watch", "Tracker", "Phone" }, delegate);
    advance(0.5);
    auto path = host.writeFrame("kit-popover");
    ASSERT_TRUE(path);
    EXPECT_TRUE(std::filesystem::exists(*path));
    // The picker's box under its title near the top point, the three choices above the bottom point.
    EXPECT_TRUE(test::showsText(*screen, "Playback duration", { 0, 52, 320, 60 }));
    EXPECT_TRUE(test::shows(*picker, { 115, 60 }, gfx::Color::fromWhite(250.0 / 255, 1)));
    for (const char* choice : { "Watch", "Tracker", "Phone" })
        EXPECT_TRUE(test::showsText(*screen, choice, { 0, 300, 320, 220 })) << choice;
    EXPECT_TRUE(test::shows(*screen, { 5, 300 }, gfx::Color::rgb(0.2, 0.45, 0.7)));
}

} // namespace
