#include "TouchFixture.h"
#include "ViewControllerJournal.h"

#include "base/system/Log.h"
#include "ui/controls/Button.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/NavigationItem.h"

#include <set>

namespace {

using namespace std::chrono_literals;
using test::Journal;
using test::JournalingController;

class NavigationControllers : public test::TouchFixture {
protected:
    void SetUp() override
    {
        test::TouchFixture::SetUp();
        journal = std::make_shared<Journal>();
        home = make("home");
        navigation = ui::NavigationController::withRootViewController(home);
        window->setRootViewController(navigation);
        finger.wait(0s);
        take();
    }

    std::shared_ptr<JournalingController> make(const std::string& name)
    {
        auto controller = std::make_shared<JournalingController>(name, journal);
        controller->setTitle(name);
        return controller;
    }
    Journal take() { return std::exchange(*journal, {}); }
    // Journal lines without the view-loading ones.
    Journal takeCallbacks()
    {
        Journal kept;
        for (auto& line : take()) {
            if (!line.ends_with("loadView") && !line.ends_with("viewDidLoad"))
                kept.push_back(line);
        }
        return kept;
    }

    std::shared_ptr<Journal> journal;
    std::shared_ptr<JournalingController> home;
    std::shared_ptr<ui::NavigationController> navigation;
};

TEST_F(NavigationControllers, RootControllerAppearsThroughTheNavigationController)
{
    navigation->beginAppearanceTransition(false, false);
    navigation->endAppearanceTransition();
    navigation->beginAppearanceTransition(true, false);
    navigation->endAppearanceTransition();
    EXPECT_EQ(
        takeCallbacks(), (Journal { "home willDisappear", "home didDisappear", "home willAppear", "home didAppear" }));
    EXPECT_EQ(home->navigationController(), navigation);
    EXPECT_EQ(home->view()->frame(), navigation->view()->bounds());
    EXPECT_EQ(navigation->navigationBar()->frame(), (gfx::Rect { 0, 20, 320, 44 })) << "below the status bar";
}

TEST_F(NavigationControllers, PushAndPopPairTheCallbacksWithTheSlide)
{
    auto settings = make("settings");
    navigation->pushViewController(settings, true);
    EXPECT_EQ(takeCallbacks(), (Journal { "settings willMoveTo ?", "home willDisappear", "settings willAppear" }));
    EXPECT_EQ(navigation->topViewController(), settings);
    finger.wait(0.4s);
    EXPECT_EQ(takeCallbacks(), (Journal { "home didDisappear", "settings didAppear", "settings didMoveTo ?" }));
    EXPECT_FALSE(home->view()->superview()) << "only the top view stays once the slide is over";
    EXPECT_EQ(navigation->navigationBar()->backButtonTitle(), "home");

    EXPECT_EQ(navigation->popViewController(true), settings);
    EXPECT_EQ(takeCallbacks(), (Journal { "settings willMoveTo none", "settings willDisappear", "home willAppear" }));
    finger.wait(0.4s);
    EXPECT_EQ(takeCallbacks(), (Journal { "settings didDisappear", "home didAppear", "settings didMoveTo none" }));
    EXPECT_FALSE(settings->parentViewController());
    EXPECT_EQ(home->view()->frame(), navigation->view()->bounds());
    EXPECT_FALSE(navigation->popViewController(true)) << "the root stays";
}

TEST_F(NavigationControllers, PushDuringASlideFinishesTheSlideFirst)
{
    auto first = make("first");
    auto second = make("second");
    navigation->pushViewController(first, true);
    navigation->pushViewController(second, true);
    finger.wait(0.4s);
    EXPECT_EQ(takeCallbacks(),
        (Journal { "first willMoveTo ?", "home willDisappear", "first willAppear", "home didDisappear",
            "first didAppear", "first didMoveTo ?", "second willMoveTo ?", "first willDisappear", "second willAppear",
            "first didDisappear", "second didAppear", "second didMoveTo ?" }));
    EXPECT_EQ(navigation->view()->subviews().size(), 2u) << "the top view and the bar";
}

TEST_F(NavigationControllers, PopToRootTellsOnlyTheTopAboutDisappearing)
{
    auto first = make("first");
    auto second = make("second");
    navigation->setViewControllers({ home, first, second }, false);
    take();
    auto popped = navigation->popToRootViewController(false);
    EXPECT_EQ(popped, (std::vector<std::shared_ptr<ui::ViewController>> { first, second }));
    EXPECT_EQ(takeCallbacks(),
        (Journal { "first willMoveTo none", "second willMoveTo none", "second willDisappear", "home willAppear",
            "second didDisappear", "home didAppear", "first didMoveTo none", "second didMoveTo none" }));
    EXPECT_EQ(navigation->navigationBar()->items().size(), 1u);
}

TEST_F(NavigationControllers, SettingTheSameTopChangesTheStackQuietly)
{
    auto list = make("list");
    navigation->setViewControllers({ list, home }, false);
    EXPECT_EQ(takeCallbacks(), (Journal { "list willMoveTo ?", "list didMoveTo ?" }));
    EXPECT_EQ(navigation->navigationBar()->backButtonTitle(), "list");
}

TEST_F(NavigationControllers, BackButtonTapPopsTheTopController)
{
    auto settings = make("settings");
    navigation->pushViewController(settings, false);
    finger.wait(0s);
    auto back = navigation->navigationBar()->backButton();
    ASSERT_TRUE(back);
    gfx::Point centre = back->convertPointTo(back->bounds().center(), nullptr);
    take();
    finger.tap(centre).wait(0.5s);
    EXPECT_EQ(navigation->topViewController(), home);
    EXPECT_EQ(navigation->navigationBar()->items().size(), 1u);
    EXPECT_EQ(takeCallbacks(),
        (Journal { "settings willMoveTo none", "settings willDisappear", "home willAppear", "settings didDisappear",
            "home didAppear", "settings didMoveTo none" }));
}

TEST_F(NavigationControllers, StackBuiltBeforeTheViewLoadsShowsItsTopWithoutCallbacks)
{
    auto offscreen = std::make_shared<ui::NavigationController>();
    auto first = make("first");
    auto second = make("second");
    offscreen->pushViewController(first, false);
    offscreen->pushViewController(second, false);
    EXPECT_EQ(takeCallbacks(),
        (Journal { "first willMoveTo ?", "first didMoveTo ?", "second willMoveTo ?", "second didMoveTo ?" }));
    auto& view = offscreen->view();
    EXPECT_EQ(second->view()->superview(), view);
    EXPECT_FALSE(first->isViewLoaded());
    EXPECT_EQ(offscreen->visibleViewController(), second);
    EXPECT_EQ(second->navigationItem()->title(), "second");
}

TEST_F(NavigationControllers, AControllerOfAnotherParentIsNotPushed)
{
    auto other = std::make_shared<ui::NavigationController>();
    auto shared = make("shared");
    other->pushViewController(shared, false);
    take();
    base::Log::ScopedCapture capture;
    navigation->pushViewController(shared, false);
    EXPECT_EQ(navigation->topViewController(), home);
    EXPECT_EQ(shared->navigationController(), other);
    EXPECT_TRUE(capture.contains("another parent"));
}

} // namespace
