// ui::ViewController: the controller of one screen's view. Its view is made on first access (loadView, then
// viewDidLoad); it hears the appearance callbacks, may hold child controllers, presents other controllers
// over the key window, tells the status bar how to look and writes and reads restorable state. Main thread;
// always made with std::make_shared.
//
// Appearance: viewWillAppear is always followed by viewDidAppear before the next viewWillDisappear, and the
// other way round: beginAppearanceTransition ignores a transition already under way or done, and one that
// reverses a transition under way first finishes it (its did-callback comes first). A controller that
// forwards automatically (the default) begins and ends the same transitions on those of its children whose
// views are in its view when its own transitions begin. Callbacks come from the window whose root the
// controller is (when it shows or hides), from containers (navigation, a custom container calling
// beginAppearanceTransition/endAppearanceTransition by hand) and from presentation; adding a view to a
// window by hand sends none.
//
// Presentation: presentViewController shows a controller's view over everything, as the last subview of the
// key window, filling it; the presenting side is the root of this controller's parents (the one that went
// full screen). The presenting side hears will/did-disappear and the presented controller will/did-appear;
// dismissal the reverse, then the presented view leaves the window. Once a presentation has ended, the
// presenting side's view is hidden under it (it cannot be seen and is not drawn or touched) until its
// dismissal begins.
//
// Rotation calls are declared so that containers can forward them, but the layer never sends them: the
// application runs in portrait only.
//
//   class HomeController : public ui::ViewController {
//       void viewDidLoad() override { view()->setBackgroundColor(gfx::Color::white()); }
//       void viewDidAppear(bool) override { startPolling(); }
//       void viewWillDisappear(bool) override { stopPolling(); }
//   };
#pragma once

#include "ui/controllers/PendingTransition.h"
#include "ui/view/Application.h"
#include "ui/view/Responder.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class KeyedCoder;
class NavigationController;
class NavigationItem;
class View;

class ViewController : public Responder {
public:
    enum class AppearanceState { Disappeared, Appearing, Appeared, Disappearing };

    ViewController();
    ~ViewController() override;
    ViewController(const ViewController&) = delete;
    ViewController& operator=(const ViewController&) = delete;

    // The view, made on first access: loadView() and then viewDidLoad().
    const std::shared_ptr<View>& view();
    bool isViewLoaded() const { return m_view != nullptr; }
    // Makes `view` this controller's root view (its next responder becomes this controller).
    void setView(std::shared_ptr<View> view);
    // Default: a plain view of the screen's bounds that stretches with its superview.
    virtual void loadView();
    virtual void viewDidLoad() { }

    const std::string& title() const { return m_title; }
    // Also the navigation item's title.
    virtual void setTitle(std::string title);
    // Made on first access, titled after the controller.
    const std::shared_ptr<NavigationItem>& navigationItem();

    // Appearance callbacks (see the header comment for when they come).
    virtual void viewWillAppear(bool /*animated*/) { }
    virtual void viewDidAppear(bool /*animated*/) { }
    virtual void viewWillDisappear(bool /*animated*/) { }
    virtual void viewDidDisappear(bool /*animated*/) { }
    AppearanceState appearanceState() const { return m_appearance; }
    virtual bool shouldAutomaticallyForwardAppearanceMethods() const { return true; }
    void beginAppearanceTransition(bool isAppearing, bool animated);
    void endAppearanceTransition();

    // Containment. addChildViewController sends the child willMoveToParentViewController(this);
    // removeFromParentViewController sends didMoveToParentViewController(nullptr); the other two calls are
    // the caller's.
    std::shared_ptr<ViewController> parentViewController() const { return m_parent.lock(); }
    const std::vector<std::shared_ptr<ViewController>>& childViewControllers() const { return m_children; }
    void addChildViewController(const std::shared_ptr<ViewController>& child);
    void removeFromParentViewController();
    virtual void willMoveToParentViewController(const std::shared_ptr<ViewController>& /*parent*/) { }
    virtual void didMoveToParentViewController(const std::shared_ptr<ViewController>& /*parent*/) { }
    // The nearest navigation controller among this controller's parents, itself excluded.
    std::shared_ptr<NavigationController> navigationController() const;

    // Presentation. A side that already presents a controller refuses another (logged; no completion).
    void presentViewController(
        const std::shared_ptr<ViewController>& controller, bool animated, std::function<void()> completion = {});
    // Dismisses what this controller's side presents (with everything presented over it), or, when it
    // presents nothing, the presentation this controller is part of. Nothing to dismiss: nothing happens.
    void dismissViewController(bool animated, std::function<void()> completion = {});
    std::shared_ptr<ViewController> presentedViewController() const;
    std::shared_ptr<ViewController> presentingViewController() const;

    // Status bar: the governing controller (the key window's root, or the top presented controller, followed
    // through childViewControllerForStatusBar...) sets the application's status-bar style and hidden flag
    // when setNeedsStatusBarAppearanceUpdate is called; an empty answer leaves the application's value alone.
    [[nodiscard]] virtual std::optional<StatusBarStyle> preferredStatusBarStyle() const { return std::nullopt; }
    [[nodiscard]] virtual std::optional<bool> prefersStatusBarHidden() const { return std::nullopt; }
    virtual std::shared_ptr<ViewController> childViewControllerForStatusBarStyle() const { return nullptr; }
    virtual std::shared_ptr<ViewController> childViewControllerForStatusBarHidden() const { return nullptr; }
    void setNeedsStatusBarAppearanceUpdate();

    // Rotation: declared for containers to forward; never sent (portrait only).
    virtual bool shouldAutorotate() const { return false; }
    virtual void willRotateToInterfaceOrientation(InterfaceOrientation, double /*duration*/) { }
    virtual void willAnimateRotationToInterfaceOrientation(InterfaceOrientation, double /*duration*/) { }
    virtual void didRotateFromInterfaceOrientation(InterfaceOrientation) { }

    // State restoration (used by tests; the application never restores).
    const std::string& restorationIdentifier() const { return m_restorationIdentifier; }
    void setRestorationIdentifier(std::string identifier) { m_restorationIdentifier = std::move(identifier); }
    virtual void encodeRestorableState(KeyedCoder&) { }
    virtual void decodeRestorableState(const KeyedCoder&) { }

    // The root view's superview.
    std::shared_ptr<Responder> nextResponder() const override;

    // Escape goes to what this controller presents, which covers it; a controller that presents nothing
    // does not act (containers pass it on to the child in front).
    bool performEscape() override;

private:
    friend class NavigationController;

    std::shared_ptr<ViewController> self() { return sharedFrom(this); }
    std::shared_ptr<ViewController> rootOfParents();
    void endPresentation(
        const std::shared_ptr<ViewController>& presented, bool animated, std::function<void()> completion);
    // Hides the view while a presented controller covers it, and shows it again when uncovered; a view the
    // application hid itself stays hidden.
    void setViewCovered(bool covered);

    std::shared_ptr<View> m_view;
    std::string m_title;
    std::shared_ptr<NavigationItem> m_navigationItem;
    AppearanceState m_appearance { AppearanceState::Disappeared };
    bool m_appearanceAnimated { false };
    std::vector<std::weak_ptr<ViewController>> m_forwardedAppearance;
    std::weak_ptr<ViewController> m_parent;
    std::vector<std::shared_ptr<ViewController>> m_children;
    std::shared_ptr<ViewController> m_presented;
    std::weak_ptr<ViewController> m_presenting;
    PendingTransition m_presentationTransition;
    bool m_viewCovered { false };
    std::string m_restorationIdentifier;
};

} // namespace ui
