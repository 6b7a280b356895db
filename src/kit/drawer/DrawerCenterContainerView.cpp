#include "kit/drawer/DrawerCenterContainerView.h"

#include "base/loop/MainThread.h"
#include "ui/controls/NavigationBar.h"

namespace kit {

std::shared_ptr<ui::View> DrawerCenterContainerView::hitTest(gfx::Point point, const ui::Event* event)
{
    BASE_ASSERT_MAIN_THREAD();
    auto hit = ui::View::hitTest(point, event);
    if (!hit || m_openSide == DrawerSide::None)
        return hit;
    if (m_centerInteractionMode == CenterInteractionMode::Blocked)
        return nullptr;
    if (m_centerInteractionMode == CenterInteractionMode::NavigationBar) {
        // Without a navigation bar nothing of the centre takes touches while a
        // drawer is open.
        auto bar = navigationBarContainedWithinSubviewsOfView(ui::sharedFrom<ui::View>(this));
        gfx::Rect barRect = bar ? convertRectFrom(bar->bounds(), bar.get()) : gfx::Rect::null();
        if (!barRect.contains(point))
            return nullptr;
    }
    return hit;
}

std::shared_ptr<ui::NavigationBar> DrawerCenterContainerView::navigationBarContainedWithinSubviewsOfView(
    const std::shared_ptr<ui::View>& view)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!view || view->subviews().empty())
        return nullptr;
    if (auto bar = std::dynamic_pointer_cast<ui::NavigationBar>(view))
        return bar;
    for (const auto& subview : view->subviews()) {
        if (auto bar = navigationBarContainedWithinSubviewsOfView(subview))
            return bar;
    }
    return nullptr;
}

} // namespace kit
