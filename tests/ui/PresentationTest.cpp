#include "UITestFixture.h"
#include "ViewControllerJournal.h"

#include "base/system/Log.h"
#include "ui/view/Window.h"

namespace {

using test::Journal;
using test::JournalingController;

class Presentation : public test::UITest {
protected:
    void SetUp() override
    {
        test::UITest::SetUp();
        journal = std::make_shared<Journal>();
        window = std::make_shared<ui::Window>();
        login = make("login");
        window->setRootViewController(login);
        window->makeKeyAndVisible();
        overlay = std::make_shared<ui::View>(gfx::Rect { 0, 0, 10, 10 });
        window->addSubview(overlay);
        journal->clear();
    }
    void TearDown() override
    {
        window->setHidden(true);
        window.reset();
        test::UITest::TearDown();
    }

    std::shared_ptr<JournalingController> make(const std::string& name)
    {
        auto controller = std::make_shared<JournalingController>(name, journal);
        controller->view();
        return controller;
    }
    Journal take() { return std::exchange(*journal, {}); }

    std::shared_ptr<Journal> journal;
    std::shared_ptr<ui::Window> window;
    std::shared_ptr<JournalingController> login;
    std::shared_ptr<ui::View> overlay;
};

TEST_F(Presentation, PresentedViewBecomesTheLastSubviewOfTheKeyWindow)
{
    auto drawer = make("drawer");
    take();
    bool completed = false;
    login->presentViewController(drawer, false, [&] { completed = true; });
    EXPECT_EQ(window->subviews().back(), drawer->view());
    EXPECT_EQ(drawer->view()->frame(), window->bounds());
    EXPECT_EQ(
        take(), (Journal { "login willDisappear", "drawer willAppear", "drawer didAppear", "login didDisappear" }));
    EXPECT_TRUE(completed);
    EXPECT_EQ(login->presentedViewController(), drawer);
    EXPECT_EQ(drawer->presentingViewController(), login);
}

TEST_F(Presentation, AnimatedPresentationSendsTheDidCallbacksWhenTheAnimationEnds)
{
    auto drawer = make("drawer");
    take();
    bool completed = false;
    login->presentViewController(drawer, true, [&] { completed = true; });
    EXPECT_EQ(take(), (Journal { "login willDisappear", "drawer willAppear" }));
    EXPECT_EQ(drawer->view()->frame(), window->bounds()) << "the model is in place at once";
    advance(0.2);
    EXPECT_FALSE(completed);
    advance(0.2);
    EXPECT_EQ(take(), (Journal { "drawer didAppear", "login didDisappear" }));
    EXPECT_TRUE(completed);
}

TEST_F(Presentation, DismissalReversesTheCallbacksAndRemovesTheView)
{
    auto drawer = make("drawer");
    login->presentViewController(drawer, false);
    take();
    bool completed = false;
    drawer->dismissViewController(true, [&] { completed = true; });
    EXPECT_EQ(take(), (Journal { "drawer willDisappear", "login willAppear" }));
    EXPECT_FALSE(login->presentedViewController());
    advance(0.5);
    EXPECT_EQ(take(), (Journal { "drawer didDisappear", "login didAppear" }));
    EXPECT_TRUE(completed);
    EXPECT_FALSE(drawer->view()->superview());
    EXPECT_EQ(window->subviews().back(), overlay);
}

TEST_F(Presentation, ThePresentingViewIsHiddenOnlyWhileThePresentedOneCoversIt)
{
    auto drawer = make("drawer");
    login->presentViewController(drawer, true);
    EXPECT_FALSE(login->view()->isHidden()) << "it shows behind the sliding view";
    advance(0.5);
    EXPECT_TRUE(login->view()->isHidden()) << "covered, it is neither drawn nor touched";
    drawer->dismissViewController(true);
    EXPECT_FALSE(login->view()->isHidden()) << "it shows again as the dismissal begins";

    login->view()->setHidden(true);
    login->presentViewController(drawer, false);
    drawer->dismissViewController(false);
    EXPECT_TRUE(login->view()->isHidden()) << "a view the application hid stays hidden";
}

TEST_F(Presentation, AChildPresentsFromTheRootOfItsParents)
{
    auto child = make("child");
    login->addChildViewController(child);
    login->view()->addSubview(child->view());
    child->didMoveToParentViewController(login);
    child->beginAppearanceTransition(true, false);
    child->endAppearanceTransition();
    auto picker = make("picker");
    take();

    child->presentViewController(picker, false);
    EXPECT_EQ(picker->presentingViewController(), login);
    EXPECT_EQ(child->presentedViewController(), picker);
    EXPECT_EQ(take(),
        (Journal { "login willDisappear", "child willDisappear", "picker willAppear", "picker didAppear",
            "login didDisappear", "child didDisappear" }));

    child->dismissViewController(false);
    EXPECT_EQ(take(),
        (Journal { "picker willDisappear", "login willAppear", "child willAppear", "picker didDisappear",
            "login didAppear", "child didAppear" }));
}

TEST_F(Presentation, SecondPresentationOverTheSameSideIsRefused)
{
    auto first = make("first");
    auto second = make("second");
    login->presentViewController(first, false);
    take();
    base::Log::ScopedCapture capture;
    bool completed = false;
    login->presentViewController(second, false, [&] { completed = true; });
    EXPECT_FALSE(completed);
    EXPECT_TRUE(take().empty());
    EXPECT_FALSE(second->view()->superview());
    EXPECT_TRUE(capture.contains("already presents"));

    first->presentViewController(second, false);
    EXPECT_EQ(window->subviews().back(), second->view()) << "the presented side may present in turn";
    take();
    login->dismissViewController(false);
    EXPECT_EQ(
        take(), (Journal { "second willDisappear", "login willAppear", "second didDisappear", "login didAppear" }))
        << "dismissing takes everything presented over the side away";
    EXPECT_FALSE(first->view()->superview());
    EXPECT_FALSE(second->view()->superview());
}

TEST_F(Presentation, PresentingDuringAnAnimatedDismissalFinishesTheDismissalFirst)
{
    auto drawer = make("drawer");
    login->presentViewController(drawer, false);
    drawer->dismissViewController(true);
    take();
    auto again = make("again");
    take();
    login->presentViewController(again, true);
    EXPECT_EQ(
        take(), (Journal { "drawer didDisappear", "login didAppear", "login willDisappear", "again willAppear" }));
    advance(1);
    EXPECT_EQ(take(), (Journal { "again didAppear", "login didDisappear" }));
}

TEST_F(Presentation, HidingTheWindowTellsTheTopPresentedController)
{
    auto drawer = make("drawer");
    login->presentViewController(drawer, false);
    take();
    window->setHidden(true);
    EXPECT_EQ(take(), (Journal { "drawer willDisappear", "drawer didDisappear" }));
    window->setHidden(false);
    EXPECT_EQ(take(), (Journal { "drawer willAppear", "drawer didAppear" }));
}

} // namespace
