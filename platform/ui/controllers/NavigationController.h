// ui::NavigationController: a container that shows the top of a stack of view controllers under a navigation
// bar. Pushing slides the new controller in from the right, popping slides the top one out; the bar shows
// the top controller's navigation item with a back button titled after the one below, and a tap on that
// button pops. The controllers' views fill the container's view (they run under the bar, which sits below
// the status bar); only the top one's view is in it once a transition is over. Main thread; made with
// std::make_shared.
//
// Every stack change goes the same way: controllers leaving the stack get willMoveToParentViewController
// (nullptr) at once and didMoveToParentViewController(nullptr) at the end; controllers joining get
// willMoveToParentViewController(this) at once and didMoveToParentViewController(this) at the end. While the
// navigation controller is on screen, the old top hears will/did-disappear and the new top will/did-appear
// (the did-callbacks when the slide ends, 0.35 s later when animated). A change that starts while another
// slides finishes the first at once. Touches that begin while a transition slides reach neither screen nor
// the bar. The navigation controller forwards its own appearance callbacks to its top controller.
//
//   auto navigation = ui::NavigationController::withRootViewController(home);
//   navigation->pushViewController(settings, true);
//   navigation->popViewController(true);
#pragma once

#include "ui/controls/NavigationBar.h"
#include "ui/controllers/PendingTransition.h"
#include "ui/controllers/ViewController.h"

#include <memory>
#include <vector>

namespace ui {

class NavigationController : public ViewController, public NavigationBarDelegate {
public:
    static constexpr double transitionDuration = 0.35;

    // `bar`: a bar of the caller's (a subclass, say); nullptr makes a plain one.
    explicit NavigationController(std::shared_ptr<NavigationBar> bar = nullptr);
    static std::shared_ptr<NavigationController> withRootViewController(std::shared_ptr<ViewController> root);

    // Bottom to top.
    const std::vector<std::shared_ptr<ViewController>>& viewControllers() const { return childViewControllers(); }
    // Controllers that already belong to another parent are left out (logged), as are repeats.
    void setViewControllers(std::vector<std::shared_ptr<ViewController>> controllers, bool animated = false);
    std::shared_ptr<ViewController> topViewController() const;
    // What is presented over the navigation controller, else the top controller.
    std::shared_ptr<ViewController> visibleViewController() const;

    void pushViewController(const std::shared_ptr<ViewController>& controller, bool animated);
    // The popped controller; nullptr (and nothing happens) when only the root is left.
    std::shared_ptr<ViewController> popViewController(bool animated);
    // The popped controllers, bottom to top.
    std::vector<std::shared_ptr<ViewController>> popToRootViewController(bool animated);

    const std::shared_ptr<NavigationBar>& navigationBar() const { return m_bar; }
    bool isNavigationBarHidden() const { return m_bar->isHidden(); }
    // The bar shows or hides at once, whatever the flag.
    void setNavigationBarHidden(bool hidden, bool animated = false);

    void loadView() override;
    bool navigationBarShouldPopItem(NavigationBar& bar, NavigationItem& item) override;
    // After what is presented and the top controller itself, Escape goes back one screen: through the top
    // controller's own left bar button where it has one (its back or close), else by popping. A presented
    // navigation controller's only screen closes through its left bar button the same way.
    bool performEscape() override;

private:
    enum class Direction { Forward, Back };

    void replaceStack(std::vector<std::shared_ptr<ViewController>> stack, bool animated, Direction direction);
    std::vector<std::shared_ptr<NavigationItem>> navigationItems();

    std::shared_ptr<NavigationBar> m_bar;
    PendingTransition m_transition;
};

} // namespace ui
