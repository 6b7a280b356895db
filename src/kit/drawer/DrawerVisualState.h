// kit::DrawerVisualState: the ready-made visual-state blocks of the drawer container. Each turns the percent
// of the drawer that shows (0 closed, 1 open, above 1 stretched by a pan) into a 3-D transform of the
// drawer's layer (slide and scale also set the view's alpha), so that the drawer slides, scales, swings in
// like a door or lags behind the centre. A block that finds no drawer for the side changes nothing; the
// container resets the drawer when an animation ends and before a drawer is shown. Main thread.
//
//   drawer->setDrawerVisualStateBlock(kit::DrawerVisualState::parallaxVisualStateBlock(2.0));
#pragma once

#include "kit/drawer/DrawerTypes.h"

namespace kit {

class DrawerVisualState {
public:
    // Grows from 90 % and slides in from 50 points away while fading in.
    static DrawerVisualStateBlock slideAndScaleVisualStateBlock();
    // Moves exactly with the centre's edge (parallax with factor 1).
    static DrawerVisualStateBlock slideVisualStateBlock();
    // Turns about the drawer's outer edge into place, from a quarter turn away.
    static DrawerVisualStateBlock swingingDoorVisualStateBlock();
    // Starts 1/factor of the drawer width out of place and moves in 1/factor as fast as the centre.
    static DrawerVisualStateBlock parallaxVisualStateBlock(double parallaxFactor);
    // Untransformed up to fully open; stretched beyond.
    static DrawerVisualStateBlock plainVisualStateBlock();
};

} // namespace kit
