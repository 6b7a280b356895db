#include "UITestFixture.h"
#include "ViewControllerJournal.h"

#include "ui/controllers/KeyedCoder.h"
#include "ui/view/Window.h"

namespace {

using test::Journal;
using test::JournalingController;

class ViewControllers : public test::UITest {
protected:
    void SetUp() override
    {
        test::UITest::SetUp();
        journal = std::make_shared<Journal>();
        window = std::make_shared<ui::Window>();
    }
    void TearDown() override
    {
        window->setHidden(true);
        window.reset();
        test::UITest::TearDown();
    }

    std::shared_ptr<JournalingController> make(const std::string& name)
    {
        return std::make_shared<JournalingController>(name, journal);
    }
    Journal take() { return std::exchange(*journal, {}); }

    std::shared_ptr<Journal> journal;
    std::shared_ptr<ui::Window> window;
};

TEST_F(ViewControllers, ViewLoadsOnceOnFirstAccessAndAnswersToItsController)
{
    auto home = make("home");
    EXPECT_FALSE(home->isViewLoaded());
    auto view = home->view();
    home->view();
    EXPECT_EQ(take(), (Journal { "home loadView", "home viewDidLoad" }));
    EXPECT_EQ(view->frame(), ui::Screen::main().bounds());
    EXPECT_EQ(view->nextResponder(), home);

    window->addSubview(view);
    EXPECT_EQ(home->nextResponder(), window) << "a controller's next responder is its view's superview";
}

TEST_F(ViewControllers, RootAppearsWithTheWindowAndDisappearsWithIt)
{
    auto root = make("root");
    window->setRootViewController(root);
    EXPECT_EQ(window->subviews().front(), root->view());
    take();

    window->makeKeyAndVisible();
    EXPECT_EQ(take(), (Journal { "root willAppear", "root didAppear" }));
    auto other = make("other");
    window->setRootViewController(other);
    EXPECT_EQ(take(),
        (Journal { "root willDisappear", "root didDisappear", "other loadView", "other viewDidLoad", "other willAppear",
            "other didAppear" }));
    EXPECT_FALSE(root->view()->superview());
    window->setHidden(true);
    EXPECT_EQ(take(), (Journal { "other willDisappear", "other didDisappear" }));
}

TEST_F(ViewControllers, EveryWillHasItsDidAndRepeatsAreIgnored)
{
    auto home = make("home");
    home->beginAppearanceTransition(true, true);
    home->beginAppearanceTransition(true, true);
    home->endAppearanceTransition();
    home->endAppearanceTransition();
    EXPECT_EQ(take(), (Journal { "home willAppear", "home didAppear" }));

    home->beginAppearanceTransition(false, true);
    home->beginAppearanceTransition(true, true);
    home->endAppearanceTransition();
    EXPECT_EQ(take(), (Journal { "home willDisappear", "home didDisappear", "home willAppear", "home didAppear" }))
        << "reversing a transition under way finishes it first";
    home->beginAppearanceTransition(true, false);
    EXPECT_TRUE(take().empty()) << "already appeared";
}

TEST_F(ViewControllers, AutomaticForwardingReachesChildrenWhoseViewsAreShownOnly)
{
    auto parent = make("parent");
    auto shown = make("shown");
    auto offstage = make("offstage");
    parent->addChildViewController(shown);
    parent->view()->addSubview(shown->view());
    shown->didMoveToParentViewController(parent);
    parent->addChildViewController(offstage);
    offstage->didMoveToParentViewController(parent);
    take();

    parent->beginAppearanceTransition(true, false);
    parent->endAppearanceTransition();
    EXPECT_EQ(take(), (Journal { "parent willAppear", "shown willAppear", "parent didAppear", "shown didAppear" }));

    parent->forwardsAutomatically = false;
    parent->beginAppearanceTransition(false, false);
    parent->endAppearanceTransition();
    EXPECT_EQ(take(), (Journal { "parent willDisappear", "parent didDisappear" }))
        << "a container that forwards by hand gets no help";
}

TEST_F(ViewControllers, ContainmentSendsTheMoveCallsAndKeepsOneParent)
{
    auto first = make("first");
    auto second = make("second");
    auto child = make("child");
    first->addChildViewController(child);
    EXPECT_EQ(child->parentViewController(), first);
    EXPECT_EQ(take(), (Journal { "child willMoveTo first" }));

    second->addChildViewController(child);
    EXPECT_EQ(take(), (Journal { "child didMoveTo none", "child willMoveTo second" }));
    EXPECT_TRUE(first->childViewControllers().empty());
    EXPECT_EQ(second->childViewControllers(), (std::vector<std::shared_ptr<ui::ViewController>> { child }));

    child->removeFromParentViewController();
    EXPECT_EQ(take(), (Journal { "child didMoveTo none" }));
    EXPECT_FALSE(child->parentViewController());
}

class StatusBarController : public ui::ViewController {
public:
    std::optional<ui::StatusBarStyle> style;
    std::optional<bool> hidden;
    std::shared_ptr<ui::ViewController> child;
    std::optional<ui::StatusBarStyle> preferredStatusBarStyle() const override { return style; }
    std::optional<bool> prefersStatusBarHidden() const override { return hidden; }
    std::shared_ptr<ui::ViewController> childViewControllerForStatusBarStyle() const override { return child; }
};

TEST_F(ViewControllers, StatusBarFollowsTheGoverningChild)
{
    auto container = std::make_shared<StatusBarController>();
    auto open = std::make_shared<StatusBarController>();
    container->style = ui::StatusBarStyle::Default;
    container->child = open;
    open->style = ui::StatusBarStyle::LightContent;
    window->setRootViewController(container);
    window->makeKeyAndVisible();

    container->setNeedsStatusBarAppearanceUpdate();
    EXPECT_EQ(ui::Application::shared().statusBarStyle(), ui::StatusBarStyle::LightContent);
    EXPECT_FALSE(ui::Application::shared().isStatusBarHidden()) << "no controller has an opinion on hiding";

    ui::Application::shared().setStatusBarHidden(true);
    container->setNeedsStatusBarAppearanceUpdate();
    EXPECT_TRUE(ui::Application::shared().isStatusBarHidden());
    container->hidden = false;
    container->setNeedsStatusBarAppearanceUpdate();
    EXPECT_FALSE(ui::Application::shared().isStatusBarHidden());
    ui::Application::shared().setStatusBarStyle(ui::StatusBarStyle::Default);
}

class RestorableController : public ui::ViewController {
public:
    std::shared_ptr<ui::ViewController> center;
    int64_t side = 0;
    void encodeRestorableState(ui::KeyedCoder& coder) override
    {
        coder.encodeObject(center, "Center");
        coder.encodeInteger(side, "Side");
    }
    void decodeRestorableState(const ui::KeyedCoder& coder) override
    {
        center = coder.decodeObject("Center");
        side = coder.decodeInteger("Side");
    }
};

TEST_F(ViewControllers, RestorableStateTravelsThroughTheKeyedCoder)
{
    auto original = std::make_shared<RestorableController>();
    original->center = make("center");
    original->side = 1;
    ui::KeyedCoder coder;
    original->encodeRestorableState(coder);

    auto restored = std::make_shared<RestorableController>();
    restored->decodeRestorableState(coder);
    EXPECT_EQ(restored->center, original->center);
    EXPECT_EQ(restored->side, 1);

    coder.encodeObject(nullptr, "Center");
    EXPECT_FALSE(coder.containsValue("Center"));
    EXPECT_EQ(coder.decodeInteger("Center"), 0);
    EXPECT_FALSE(coder.decodeObject("Side")) << "an integer is no controller";
}

} // namespace
