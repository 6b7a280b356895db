// kit::DrawerCenterContainerView: the view of the drawer container that carries the centre controller's view
// and slides sideways to uncover a drawer. While a drawer is open it filters the touches that reach the
// centre, as the container's interaction mode says: none (Blocked), all (Full), or only those on the
// centre's navigation bar (NavigationBar). A touch it refuses falls to the container's own gestures, so a
// tap on the uncovered centre closes the drawer. Main thread.
//
//   auto container = std::make_shared<kit::DrawerCenterContainerView>(bounds);
//   container->setOpenSide(kit::DrawerSide::Left);
//   container->setCenterInteractionMode(kit::CenterInteractionMode::Blocked);   // hitTest answers nullptr
#pragma once

#include "kit/drawer/DrawerTypes.h"
#include "ui/view/View.h"

namespace ui {
class NavigationBar;
}

namespace kit {

class DrawerCenterContainerView : public ui::View {
public:
    using ui::View::View;

    std::shared_ptr<ui::View> hitTest(gfx::Point point, const ui::Event* event) override;

    // The first navigation bar found depth first among the subviews of `view` (back to front), or
    // nullptr. A view without subviews holds none, even a navigation bar.
    static std::shared_ptr<ui::NavigationBar> navigationBarContainedWithinSubviewsOfView(
        const std::shared_ptr<ui::View>& view);

    CenterInteractionMode centerInteractionMode() const { return m_centerInteractionMode; }
    void setCenterInteractionMode(CenterInteractionMode mode) { m_centerInteractionMode = mode; }
    DrawerSide openSide() const { return m_openSide; }
    void setOpenSide(DrawerSide side) { m_openSide = side; }

private:
    CenterInteractionMode m_centerInteractionMode { CenterInteractionMode::NavigationBar };
    DrawerSide m_openSide { DrawerSide::None };
};

} // namespace kit
