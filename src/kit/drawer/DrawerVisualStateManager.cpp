#include "kit/drawer/DrawerVisualStateManager.h"

#include "kit/drawer/DrawerVisualState.h"

namespace kit {

DrawerVisualStateManager& DrawerVisualStateManager::shared()
{
    static DrawerVisualStateManager manager;
    return manager;
}

DrawerVisualStateBlock DrawerVisualStateManager::drawerVisualStateBlockForDrawerSide(DrawerSide side) const
{
    DrawerAnimationType type = side == DrawerSide::Left ? m_leftDrawerAnimationType : m_rightDrawerAnimationType;
    switch (type) {
    case DrawerAnimationType::Slide:
        return DrawerVisualState::slideVisualStateBlock();
    case DrawerAnimationType::SlideAndScale:
        return DrawerVisualState::slideAndScaleVisualStateBlock();
    case DrawerAnimationType::SwingingDoor:
        return DrawerVisualState::swingingDoorVisualStateBlock();
    case DrawerAnimationType::Parallax:
        return DrawerVisualState::parallaxVisualStateBlock(parallaxFactor);
    default:
        return DrawerVisualState::plainVisualStateBlock();
    }
}

} // namespace kit
