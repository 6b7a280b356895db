#include "TouchFixture.h"

#include "gfx/text/FixedTextMeasurer.h"
#include "ui/controls/Button.h"
#include "ui/controls/NavigationBar.h"

namespace {

using namespace std::chrono_literals;

class PopDecider : public ui::NavigationBarDelegate {
public:
    bool allow { true };
    std::vector<std::string> log;
    bool navigationBarShouldPopItem(ui::NavigationBar&, ui::NavigationItem& item) override
    {
        log.push_back("should-pop " + item.title().value_or(""));
        return allow;
    }
    void navigationBarDidPopItem(ui::NavigationBar&, ui::NavigationItem& item) override
    {
        log.push_back("did-pop " + item.title().value_or(""));
    }
};

class NavigationBars : public test::TouchFixture {
protected:
    void SetUp() override
    {
        test::TouchFixture::SetUp();
        bar = addView<ui::NavigationBar>({ 0, 20, 0, 0 });
        bar->pushNavigationItem(std::make_shared<ui::NavigationItem>("Home"));
        bar->pushNavigationItem(std::make_shared<ui::NavigationItem>("Settings"));
        bar->layoutIfNeeded();
    }

    gfx::TextMeasurer::Override fixed { std::make_shared<gfx::FixedTextMeasurer>() };
    std::shared_ptr<ui::NavigationBar> bar;
};

TEST_F(NavigationBars, TopItemShowsItsTitleAndABackButtonNamedAfterTheItemBelow)
{
    EXPECT_EQ(bar->frame(), (gfx::Rect { 0, 20, 320, 44 }));
    EXPECT_EQ(bar->titleLabel()->text(), "Settings");
    EXPECT_EQ(bar->titleLabel()->center().x, 160);
    ASSERT_TRUE(bar->backButton());
    EXPECT_EQ(bar->backButton()->currentTitle(), "\u2039 Home");

    bar->topItem()->setLeftBarButtonItem(
        std::make_shared<ui::BarButtonItem>("Menu", ui::BarButtonItemStyle::Plain, nullptr));
    bar->layoutIfNeeded();
    EXPECT_FALSE(bar->backButton()) << "left items replace the back button";

    bar->topItem()->setLeftBarButtonItem(nullptr);
    bar->topItem()->setHidesBackButton(true);
    bar->layoutIfNeeded();
    EXPECT_FALSE(bar->backButton());
    bar->items().front()->setBackBarButtonItem(
        std::make_shared<ui::BarButtonItem>("Up", ui::BarButtonItemStyle::Plain, nullptr));
    EXPECT_EQ(bar->backButtonTitle(), "Up");
}

TEST_F(NavigationBars, TheBackButtonSaysBackOrShowsTheChevronAloneToStayAMarginClearOfTheCentredTitle)
{
    // 17-point text, 8.5 points a letter; the back button has from the left margin to a margin before the
    // centred title.
    auto titleIsWholeAndCentred = [this] {
        return bar->titleLabel()->bounds().width() == bar->titleLabel()->sizeThatFits({}).width
            && bar->titleLabel()->center().x == 160;
    };
    bar->setItems(
        { std::make_shared<ui::NavigationItem>("Challenge"), std::make_shared<ui::NavigationItem>("Pedometer") });
    bar->layoutIfNeeded();
    EXPECT_EQ(bar->backButton()->currentTitle(), "\u2039 Challenge") << "93.5 before 121.75";
    EXPECT_TRUE(titleIsWholeAndCentred());

    bar->setItems({ std::make_shared<ui::NavigationItem>("Parent-child challenge"),
        std::make_shared<ui::NavigationItem>("Pedometer") });
    bar->layoutIfNeeded();
    EXPECT_EQ(bar->backButton()->currentTitle(), "\u2039 Back")
        << "204 would push the title aside, or come within the margin of it";
    EXPECT_TRUE(titleIsWholeAndCentred());
    EXPECT_GE(bar->titleLabel()->frame().minX() - bar->backButton()->frame().maxX(), ui::NavigationBar::margin);

    bar->topItem()->setTitle("The pedometer settings of the watch");
    bar->layoutIfNeeded();
    EXPECT_EQ(bar->backButton()->currentTitle(), "\u2039") << "not even 51 before 11.25";
    EXPECT_EQ(bar->backButtonTitle(), "Parent-child challenge") << "the item below keeps its name";
}

TEST_F(NavigationBars, BackButtonAsksTheDelegateBeforePopping)
{
    auto decider = std::make_shared<PopDecider>();
    bar->setDelegate(decider);
    decider->allow = false;
    finger.tap(bar->backButton()->convertPointTo(bar->backButton()->bounds().center(), nullptr));
    EXPECT_EQ(bar->items().size(), 2u);

    decider->allow = true;
    finger.wait(1s).tap(bar->backButton()->convertPointTo(bar->backButton()->bounds().center(), nullptr));
    EXPECT_EQ(
        decider->log, (std::vector<std::string> { "should-pop Settings", "should-pop Settings", "did-pop Settings" }));
    EXPECT_EQ(bar->topItem()->title(), "Home");
    EXPECT_EQ(bar->titleLabel()->text(), "Home") << "laid out again by the end-of-turn pass";
    EXPECT_FALSE(bar->backButton());
}

TEST_F(NavigationBars, ItemsSitAtTheEdgesAndSendTheirActions)
{
    int saves = 0;
    auto save = std::make_shared<ui::BarButtonItem>(
        "Save", ui::BarButtonItemStyle::Done, [&](ui::BarButtonItem&) { ++saves; });
    auto custom = std::make_shared<ui::Button>(gfx::Rect { 0, 0, 44, 40 });
    bar->topItem()->setRightBarButtonItems({ save, std::make_shared<ui::BarButtonItem>(custom) });
    bar->layoutIfNeeded();

    EXPECT_EQ(save->view()->frame().maxX(), 320 - ui::NavigationBar::margin);
    EXPECT_EQ(custom->frame().maxX(), save->view()->frame().minX() - ui::NavigationBar::margin);
    EXPECT_EQ(custom->frame().minY(), 2);
    finger.tap(save->view()->convertPointTo(save->view()->bounds().center(), nullptr));
    EXPECT_EQ(saves, 1);
}

TEST_F(NavigationBars, TitleFollowsTheItemAndTheTitleAttributes)
{
    bar->setTitleTextAttributes(gfx::TextAttributes { gfx::Font::boldSystem(18), gfx::Color::white(), {} });
    bar->topItem()->setTitle("Sleep timer");
    bar->layoutIfNeeded();
    EXPECT_EQ(bar->titleLabel()->text(), "Sleep timer");
    EXPECT_EQ(bar->titleLabel()->font(), gfx::Font::boldSystem(18));
    EXPECT_EQ(bar->titleLabel()->textColor(), gfx::Color::white());
}

TEST_F(NavigationBars, ALaidOutBarStaysLaidOutAndRedrawsNothingWhenLaidOutAgain)
{
    bar->topItem()->setRightBarButtonItem(
        std::make_shared<ui::BarButtonItem>("Edit", ui::BarButtonItemStyle::Plain, nullptr));
    clock->advance(base::Duration(0));
    EXPECT_FALSE(bar->needsLayout()) << "showing its views asks for no layout again";
    auto shown = bar->subviews();
    uint64_t title = bar->titleLabel()->layer()->version();
    uint64_t back = bar->backButton()->titleLabel()->layer()->version();

    bar->setNeedsLayout();
    clock->advance(base::Duration(0));
    EXPECT_FALSE(bar->needsLayout());
    EXPECT_EQ(bar->subviews(), shown);
    EXPECT_EQ(bar->titleLabel()->layer()->version(), title) << "the same title is not drawn again";
    EXPECT_EQ(bar->backButton()->titleLabel()->layer()->version(), back);

    // A view put over the item's views: the next layout brings them back on top, in their order; the bar's
    // fill for the status strip stays at the back.
    auto cover = addView<ui::View>({ 0, 0, 10, 10 }, bar.get());
    bar->setNeedsLayout();
    clock->advance(base::Duration(0));
    const auto& now = bar->subviews();
    ASSERT_EQ(now.size(), shown.size() + 1);
    EXPECT_EQ(now.front(), shown.front());
    EXPECT_EQ(now[1], cover);
    EXPECT_TRUE(std::equal(shown.begin() + 1, shown.end(), now.begin() + 2));
}

} // namespace
