#include "ui/controllers/NavigationController.h"

#include "base/system/Log.h"
#include "base/loop/MainThread.h"
#include "ui/controls/BarButtonItem.h"
#include "ui/controls/NavigationItem.h"
#include "ui/view/Application.h"
#include "ui/view/Screen.h"
#include "ui/view/View.h"

#include <algorithm>

namespace ui {

namespace {

    // The navigation controller's view: it keeps the bar along its top edge, below the status bar where the
    // view reaches up under it. While a transition slides it takes every touch itself and does nothing with
    // it, so that a second click meant for the outgoing screen never lands on the incoming one.
    class NavigationContainerView : public View {
    public:
        NavigationContainerView(
            const gfx::Rect& frame, std::weak_ptr<NavigationBar> bar, std::function<bool()> isTransitioning)
            : View(frame)
            , m_bar(std::move(bar))
            , m_isTransitioning(std::move(isTransitioning))
        {
        }

        std::shared_ptr<View> hitTest(gfx::Point point, const Event* event) override
        {
            auto hit = View::hitTest(point, event);
            return hit && m_isTransitioning() ? sharedFrom<View>(this) : hit;
        }

        void layoutSubviews() override
        {
            auto bar = m_bar.lock();
            if (!bar)
                return;
            double statusBar = Application::shared().statusBarFrame().height();
            double top = window() ? std::max(0.0, statusBar - convertPointTo({ 0, 0 }, nullptr).y) : statusBar;
            bar->setFrame({ 0, top, bounds().width(), NavigationBar::height });
        }

        void didMoveToWindow() override { setNeedsLayout(); }

    private:
        std::weak_ptr<NavigationBar> m_bar;
        std::function<bool()> m_isTransitioning;
    };

    bool contains(const std::vector<std::shared_ptr<ViewController>>& list, const std::shared_ptr<ViewController>& c)
    {
        return std::find(list.begin(), list.end(), c) != list.end();
    }

} // namespace

NavigationController::NavigationController(std::shared_ptr<NavigationBar> bar)
    : m_bar(bar ? std::move(bar) : std::make_shared<NavigationBar>())
{
}

std::shared_ptr<NavigationController> NavigationController::withRootViewController(std::shared_ptr<ViewController> root)
{
    auto navigation = std::make_shared<NavigationController>();
    navigation->setViewControllers({ std::move(root) }, false);
    return navigation;
}

void NavigationController::loadView()
{
    auto container = std::make_shared<NavigationContainerView>(
        Screen::main().bounds(), m_bar, [weak = weakFrom<NavigationController>(this)] {
            auto self = weak.lock();
            return self && self->m_transition.isRunning();
        });
    container->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
    m_bar->setAutoresizingMask(AutoresizingMask::FlexibleWidth);
    std::shared_ptr<NavigationBarDelegate> barDelegate = std::static_pointer_cast<NavigationController>(self());
    m_bar->setDelegate(barDelegate);
    container->addSubview(m_bar);
    if (auto top = topViewController()) {
        const auto& view = top->view();
        view->setFrame(container->bounds());
        view->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
        container->insertSubviewBelow(view, m_bar.get());
    }
    setView(container);
}

std::shared_ptr<ViewController> NavigationController::topViewController() const
{
    const auto& stack = childViewControllers();
    return stack.empty() ? nullptr : stack.back();
}

std::shared_ptr<ViewController> NavigationController::visibleViewController() const
{
    if (auto presented = presentedViewController())
        return presented;
    return topViewController();
}

void NavigationController::setNavigationBarHidden(bool hidden, bool) { m_bar->setHidden(hidden); }

void NavigationController::pushViewController(const std::shared_ptr<ViewController>& controller, bool animated)
{
    auto stack = childViewControllers();
    if (!controller || contains(stack, controller)) {
        base::log("ui: a controller already in the navigation stack cannot be pushed again");
        return;
    }
    stack.push_back(controller);
    replaceStack(std::move(stack), animated, Direction::Forward);
}

std::shared_ptr<ViewController> NavigationController::popViewController(bool animated)
{
    auto stack = childViewControllers();
    if (stack.size() < 2)
        return nullptr;
    auto popped = stack.back();
    stack.pop_back();
    replaceStack(std::move(stack), animated, Direction::Back);
    return popped;
}

std::vector<std::shared_ptr<ViewController>> NavigationController::popToRootViewController(bool animated)
{
    auto stack = childViewControllers();
    if (stack.size() < 2)
        return {};
    std::vector<std::shared_ptr<ViewController>> popped(stack.begin() + 1, stack.end());
    replaceStack({ stack.front() }, animated, Direction::Back);
    return popped;
}

void NavigationController::setViewControllers(std::vector<std::shared_ptr<ViewController>> controllers, bool animated)
{
    auto newTop = controllers.empty() ? nullptr : controllers.back();
    bool forward = !contains(childViewControllers(), newTop);
    replaceStack(std::move(controllers), animated, forward ? Direction::Forward : Direction::Back);
}

std::vector<std::shared_ptr<NavigationItem>> NavigationController::navigationItems()
{
    std::vector<std::shared_ptr<NavigationItem>> items;
    for (auto& controller : childViewControllers())
        items.push_back(controller->navigationItem());
    return items;
}

void NavigationController::replaceStack(
    std::vector<std::shared_ptr<ViewController>> requested, bool animated, Direction direction)
{
    BASE_ASSERT_MAIN_THREAD();
    auto keepAlive = std::static_pointer_cast<NavigationController>(self());
    m_transition.finishNow();

    std::vector<std::shared_ptr<ViewController>> stack;
    for (auto& controller : requested) {
        if (!controller || controller.get() == this || contains(stack, controller))
            continue;
        auto parent = controller->m_parent.lock();
        if (parent && parent.get() != this) {
            base::log("ui: a controller of another parent cannot join a navigation stack");
            continue;
        }
        stack.push_back(controller);
    }
    auto old = m_children;
    auto oldTop = old.empty() ? nullptr : old.back();
    std::vector<std::shared_ptr<ViewController>> added;
    std::vector<std::shared_ptr<ViewController>> removed;
    for (auto& c : stack) {
        if (!contains(old, c))
            added.push_back(c);
    }
    for (auto& c : old) {
        if (!contains(stack, c))
            removed.push_back(c);
    }
    for (auto& c : removed)
        c->willMoveToParentViewController(nullptr);
    for (auto& c : added)
        c->willMoveToParentViewController(keepAlive);
    m_children = stack;
    for (auto& c : added)
        c->m_parent = weakFrom<ViewController>(this);
    for (auto& c : removed)
        c->m_parent.reset();
    auto newTop = topViewController();
    m_bar->setItems(navigationItems(), animated && isViewLoaded());

    auto finishMoves = [keepAlive, added, removed] {
        for (auto& c : added)
            c->didMoveToParentViewController(keepAlive);
        for (auto& c : removed)
            c->didMoveToParentViewController(nullptr);
    };
    if (!isViewLoaded() || newTop == oldTop) {
        finishMoves();
        return;
    }

    const auto& container = view();
    gfx::Rect bounds = container->bounds();
    std::shared_ptr<View> incoming = newTop ? newTop->view() : nullptr;
    std::shared_ptr<View> outgoing = oldTop && oldTop->isViewLoaded() ? oldTop->view() : nullptr;
    if (incoming) {
        incoming->setFrame(bounds);
        incoming->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
        container->insertSubviewBelow(incoming, m_bar.get());
    }
    bool onScreen = appearanceState() == AppearanceState::Appeared || appearanceState() == AppearanceState::Appearing;
    if (onScreen) {
        if (oldTop)
            oldTop->beginAppearanceTransition(false, animated);
        if (newTop)
            newTop->beginAppearanceTransition(true, animated);
    }
    uint64_t id = m_transition.start([keepAlive, oldTop, newTop, outgoing, bounds, onScreen, finishMoves] {
        if (outgoing && keepAlive->topViewController() != oldTop) {
            outgoing->removeFromSuperview();
            outgoing->setFrame(bounds);
        }
        if (onScreen) {
            if (oldTop)
                oldTop->endAppearanceTransition();
            if (newTop)
                newTop->endAppearanceTransition();
        }
        finishMoves();
    });
    if (!animated) {
        m_transition.finish(id);
        return;
    }
    double width = bounds.width();
    bool forward = direction == Direction::Forward;
    if (incoming) {
        incoming->setFrame(bounds.offsetBy(forward ? width : -width * 0.3, 0));
        if (!forward && outgoing)
            container->insertSubviewBelow(incoming, outgoing.get());
    }
    View::animateWithDuration(
        transitionDuration,
        [&] {
            if (incoming)
                incoming->setFrame(bounds);
            if (outgoing)
                outgoing->setFrame(bounds.offsetBy(forward ? -width * 0.3 : width, 0));
        },
        [keepAlive, id](bool) { keepAlive->m_transition.finish(id); });
}

bool NavigationController::navigationBarShouldPopItem(NavigationBar&, NavigationItem& item)
{
    auto top = topViewController();
    if (m_children.size() > 1 && top && top->navigationItem().get() == &item)
        popViewController(true);
    // The stack has set the bar's items itself.
    return false;
}

bool NavigationController::performEscape()
{
    if (ViewController::performEscape())
        return true;
    auto top = topViewController();
    if (!top)
        return false;
    if (top->performEscape())
        return true;
    bool presentedAlone = viewControllers().size() == 1 && !parentViewController() && presentingViewController();
    if (viewControllers().size() < 2 && !presentedAlone)
        return false;
    if (auto back = top->navigationItem()->leftBarButtonItem()) {
        back->sendAction();
        return true;
    }
    if (presentedAlone)
        return false;
    popViewController(true);
    return true;
}

} // namespace ui
