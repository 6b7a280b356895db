// The numbered choices of the drawer container: which side is open, what touches on the uncovered centre
// do, and the bits of the masks that say which gestures may open a closed drawer or close an open one.
// The numbers are stored (restoration keeps the open side as an integer) and set by the application.
#pragma once

#include <functional>

namespace kit {

class DrawerController;

enum class DrawerSide : int { None = 0, Left = 1, Right = 2 };

// What touches on the centre do while a drawer is open.
enum class CenterInteractionMode : int {
    // None reach the centre.
    Blocked = 0,
    // All reach it.
    Full = 1,
    // Only touches on the centre's navigation bar reach it.
    NavigationBar = 2
};

// Where a touch may start a gesture that opens a closed drawer. Bit 1 means nothing.
namespace OpenDrawerGestureMode {
    constexpr unsigned NavigationBarPan = 2;
    constexpr unsigned CenterPan = 4;
    // Within the edge strip of the side whose drawer exists.
    constexpr unsigned BezelPan = 8;
    // The container's gestureShouldRecognizeTouch block says yes.
    constexpr unsigned CustomTest = 16;
} // namespace OpenDrawerGestureMode

// Where a touch may start a gesture that closes an open drawer. Bit 1 means nothing.
namespace CloseDrawerGestureMode {
    constexpr unsigned NavigationBarPan = 2;
    constexpr unsigned CenterPan = 4;
    // Within the edge strip opposite the open drawer.
    constexpr unsigned BezelPan = 8;
    constexpr unsigned NavigationBarTap = 16;
    constexpr unsigned CenterTap = 32;
    // Neither on the centre content nor on its navigation bar: on the uncovered drawer.
    constexpr unsigned DrawerPan = 64;
    constexpr unsigned CustomTest = 128;
    constexpr unsigned All = 254;
} // namespace CloseDrawerGestureMode

// Called while a drawer opens, closes or is dragged, with the side shown and how much of it shows: 0 closed,
// 1 fully open, above 1 stretched by a pan.
using DrawerVisualStateBlock = std::function<void(DrawerController&, DrawerSide, double percentVisible)>;

} // namespace kit
