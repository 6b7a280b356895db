#include "ui/controllers/ViewController.h"

#include "base/loop/MainThread.h"
#include "base/system/Log.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/NavigationItem.h"
#include "ui/view/Screen.h"
#include "ui/view/View.h"
#include "ui/view/Window.h"

#include <algorithm>

namespace ui {

namespace {

    constexpr double presentationDuration = 0.35;
    // How far the status-bar questions are followed through child controllers; guards against a child that
    // names its parent.
    constexpr int statusBarSearchDepth = 32;

} // namespace

ViewController::ViewController() = default;

ViewController::~ViewController() = default;

const std::shared_ptr<View>& ViewController::view()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_view) {
        loadView();
        if (!m_view)
            setView(std::make_shared<View>(Screen::main().bounds()));
        viewDidLoad();
    }
    return m_view;
}

void ViewController::setView(std::shared_ptr<View> view)
{
    if (m_view == view)
        return;
    if (m_view)
        m_view->setViewController({});
    m_view = std::move(view);
    if (m_view)
        m_view->setViewController(weakFrom<Responder>(this));
}

void ViewController::loadView()
{
    auto view = std::make_shared<View>(Screen::main().bounds());
    view->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
    setView(std::move(view));
}

void ViewController::setTitle(std::string title)
{
    m_title = std::move(title);
    if (m_navigationItem)
        m_navigationItem->setTitle(m_title);
}

const std::shared_ptr<NavigationItem>& ViewController::navigationItem()
{
    if (!m_navigationItem)
        m_navigationItem = std::make_shared<NavigationItem>(m_title.empty() ? std::nullopt : std::optional(m_title));
    return m_navigationItem;
}

void ViewController::beginAppearanceTransition(bool isAppearing, bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    auto keepAlive = self();
    AppearanceState under = isAppearing ? AppearanceState::Appearing : AppearanceState::Disappearing;
    AppearanceState done = isAppearing ? AppearanceState::Appeared : AppearanceState::Disappeared;
    if (m_appearance == under || m_appearance == done)
        return;
    if (m_appearance != AppearanceState::Appeared && m_appearance != AppearanceState::Disappeared)
        endAppearanceTransition();
    m_appearance = under;
    m_appearanceAnimated = animated;
    if (isAppearing)
        viewWillAppear(animated);
    else
        viewWillDisappear(animated);

    m_forwardedAppearance.clear();
    if (!shouldAutomaticallyForwardAppearanceMethods() || !m_view)
        return;
    for (auto& child : std::vector(m_children)) {
        if (child->m_view && child->m_view->isDescendantOfView(m_view.get())) {
            m_forwardedAppearance.push_back(child);
            child->beginAppearanceTransition(isAppearing, animated);
        }
    }
}

void ViewController::endAppearanceTransition()
{
    BASE_ASSERT_MAIN_THREAD();
    auto keepAlive = self();
    if (m_appearance == AppearanceState::Appearing) {
        m_appearance = AppearanceState::Appeared;
        viewDidAppear(m_appearanceAnimated);
    } else if (m_appearance == AppearanceState::Disappearing) {
        m_appearance = AppearanceState::Disappeared;
        viewDidDisappear(m_appearanceAnimated);
    } else {
        return;
    }
    for (auto& weak : std::exchange(m_forwardedAppearance, {})) {
        if (auto child = weak.lock())
            child->endAppearanceTransition();
    }
}

void ViewController::addChildViewController(const std::shared_ptr<ViewController>& child)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!child || child.get() == this || child->m_parent.lock().get() == this)
        return;
    if (child->m_parent.lock())
        child->removeFromParentViewController();
    child->willMoveToParentViewController(self());
    m_children.push_back(child);
    child->m_parent = weakFrom(this);
}

void ViewController::removeFromParentViewController()
{
    BASE_ASSERT_MAIN_THREAD();
    auto parent = m_parent.lock();
    if (!parent)
        return;
    auto keepAlive = self();
    std::erase(parent->m_children, keepAlive);
    m_parent.reset();
    didMoveToParentViewController(nullptr);
}

std::shared_ptr<NavigationController> ViewController::navigationController() const
{
    for (auto parent = m_parent.lock(); parent; parent = parent->m_parent.lock()) {
        if (auto navigation = std::dynamic_pointer_cast<NavigationController>(parent))
            return navigation;
    }
    return nullptr;
}

std::shared_ptr<ViewController> ViewController::rootOfParents()
{
    auto root = self();
    while (auto parent = root->m_parent.lock())
        root = parent;
    return root;
}

std::shared_ptr<ViewController> ViewController::presentedViewController() const
{
    auto root = const_cast<ViewController*>(this)->rootOfParents();
    return root->m_presented;
}

std::shared_ptr<ViewController> ViewController::presentingViewController() const
{
    auto root = const_cast<ViewController*>(this)->rootOfParents();
    return root->m_presenting.lock();
}

void ViewController::presentViewController(
    const std::shared_ptr<ViewController>& controller, bool animated, std::function<void()> completion)
{
    BASE_ASSERT_MAIN_THREAD();
    auto presenting = rootOfParents();
    auto window = Application::shared().keyWindow();
    if (!controller || controller == presenting || controller->m_parent.lock() || controller->m_presenting.lock()) {
        base::log("ui: a controller that is already shown cannot be presented");
        return;
    }
    if (presenting->m_presented) {
        base::log("ui: cannot present a controller over one that already presents another");
        return;
    }
    if (!window) {
        base::log("ui: cannot present a controller without a key window");
        return;
    }
    presenting->m_presentationTransition.finishNow();
    presenting->m_presented = controller;
    controller->m_presenting = presenting;

    const auto& view = controller->view();
    gfx::Rect bounds = window->bounds();
    view->setFrame(animated ? bounds.offsetBy(0, bounds.height()) : bounds);
    window->addSubview(view);

    presenting->beginAppearanceTransition(false, animated);
    controller->beginAppearanceTransition(true, animated);
    uint64_t id = presenting->m_presentationTransition.start([presenting, controller, completion] {
        controller->endAppearanceTransition();
        presenting->endAppearanceTransition();
        presenting->setViewCovered(true);
        if (completion)
            completion();
    });
    if (!animated) {
        presenting->m_presentationTransition.finish(id);
        return;
    }
    View::animateWithDuration(
        presentationDuration, [&] { view->setFrame(bounds); },
        [presenting, id](bool) { presenting->m_presentationTransition.finish(id); });
}

void ViewController::dismissViewController(bool animated, std::function<void()> completion)
{
    BASE_ASSERT_MAIN_THREAD();
    auto side = rootOfParents();
    if (side->m_presented) {
        side->endPresentation(side->m_presented, animated, std::move(completion));
        return;
    }
    if (auto presenting = side->m_presenting.lock())
        presenting->endPresentation(side, animated, std::move(completion));
}

void ViewController::endPresentation(
    const std::shared_ptr<ViewController>& presented, bool animated, std::function<void()> completion)
{
    auto keepAlive = self();
    m_presentationTransition.finishNow();
    std::vector<std::shared_ptr<ViewController>> chain;
    for (auto c = presented; c; c = c->m_presented) {
        c->m_presentationTransition.finishNow();
        chain.push_back(c);
    }
    auto top = chain.back();
    for (auto& c : chain) {
        c->m_presenting.reset();
        c->m_presented.reset();
        c->setViewCovered(false);
        if (c != top && c->m_view)
            c->m_view->removeFromSuperview();
    }
    m_presented.reset();
    setViewCovered(false);

    top->beginAppearanceTransition(false, animated);
    beginAppearanceTransition(true, animated);
    uint64_t id = m_presentationTransition.start([self = keepAlive, top, chain, completion] {
        if (top->m_view)
            top->m_view->removeFromSuperview();
        top->endAppearanceTransition();
        self->endAppearanceTransition();
        if (completion)
            completion();
    });
    if (!animated || !top->m_view) {
        m_presentationTransition.finish(id);
        return;
    }
    auto view = top->m_view;
    View::animateWithDuration(
        presentationDuration,
        [&] {
            gfx::Rect frame = view->frame();
            view->setFrame(frame.offsetBy(0, frame.height()));
        },
        [self = keepAlive, id](bool) { self->m_presentationTransition.finish(id); });
}

void ViewController::setViewCovered(bool covered)
{
    if (!m_view || covered == m_viewCovered || (covered && m_view->isHidden()))
        return;
    m_view->setHidden(covered);
    m_viewCovered = covered;
}

void ViewController::setNeedsStatusBarAppearanceUpdate()
{
    auto window = Application::shared().keyWindow();
    auto root = window ? window->rootViewController() : nullptr;
    if (!root)
        return;
    while (root->m_presented)
        root = root->m_presented;
    auto governing = [root](auto next) {
        auto controller = root;
        for (int depth = 0; depth < statusBarSearchDepth; ++depth) {
            auto child = next(*controller);
            if (!child || child == controller)
                break;
            controller = child;
        }
        return controller;
    };
    auto& application = Application::shared();
    auto styleSource = governing([](ViewController& c) { return c.childViewControllerForStatusBarStyle(); });
    if (auto style = styleSource->preferredStatusBarStyle())
        application.setStatusBarStyle(*style);
    auto hiddenSource = governing([](ViewController& c) { return c.childViewControllerForStatusBarHidden(); });
    if (auto hidden = hiddenSource->prefersStatusBarHidden())
        application.setStatusBarHidden(*hidden);
}

std::shared_ptr<Responder> ViewController::nextResponder() const { return m_view ? m_view->superview() : nullptr; }

bool ViewController::performEscape()
{
    auto presented = presentedViewController();
    return presented && presented->performEscape();
}

} // namespace ui
