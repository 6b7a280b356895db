// kit::DrawerVisualStateManager: says which visual-state block each side of the drawer uses. One instance
// for the process; both sides start with the parallax block (factor 2). A type may be changed at any time and
// counts from the next block asked for. shared() is safe to call first from any thread; the rest is main
// thread.
//
//   drawer->setDrawerVisualStateBlock([](kit::DrawerController& drawer, kit::DrawerSide side, double percent) {
//       if (auto block = kit::DrawerVisualStateManager::shared().drawerVisualStateBlockForDrawerSide(side))
//           block(drawer, side, percent);
//   });
#pragma once

#include "kit/drawer/DrawerTypes.h"

namespace kit {

// Any other value picks the plain block (untransformed until stretched).
enum class DrawerAnimationType : int { None = 0, Slide = 1, SlideAndScale = 2, SwingingDoor = 3, Parallax = 4 };

class DrawerVisualStateManager {
public:
    static DrawerVisualStateManager& shared();

    DrawerAnimationType leftDrawerAnimationType() const { return m_leftDrawerAnimationType; }
    void setLeftDrawerAnimationType(DrawerAnimationType type) { m_leftDrawerAnimationType = type; }
    DrawerAnimationType rightDrawerAnimationType() const { return m_rightDrawerAnimationType; }
    void setRightDrawerAnimationType(DrawerAnimationType type) { m_rightDrawerAnimationType = type; }

    // The block of the left type for Left, of the right type for every other side.
    DrawerVisualStateBlock drawerVisualStateBlockForDrawerSide(DrawerSide side) const;

    static constexpr double parallaxFactor = 2.0;

private:
    DrawerVisualStateManager() = default;

    DrawerAnimationType m_leftDrawerAnimationType { DrawerAnimationType::Parallax };
    DrawerAnimationType m_rightDrawerAnimationType { DrawerAnimationType::Parallax };
};

} // namespace kit
