// The numbered choices of controls, with the platform's values: control events (bits that select which
// actions run) and control states (bits that select which title, image or colour shows).
#pragma once

namespace ui {

using ControlEvents = unsigned;

namespace ControlEvent {
    constexpr ControlEvents TouchDown = 1u << 0;
    // A touch-down that continues a multiple tap (tap count above 1).
    constexpr ControlEvents TouchDownRepeat = 1u << 1;
    constexpr ControlEvents TouchDragInside = 1u << 2;
    constexpr ControlEvents TouchDragOutside = 1u << 3;
    constexpr ControlEvents TouchDragEnter = 1u << 4;
    constexpr ControlEvents TouchDragExit = 1u << 5;
    constexpr ControlEvents TouchUpInside = 1u << 6;
    constexpr ControlEvents TouchUpOutside = 1u << 7;
    constexpr ControlEvents TouchCancel = 1u << 8;
    constexpr ControlEvents ValueChanged = 1u << 12;
    constexpr ControlEvents EditingDidBegin = 1u << 16;
    constexpr ControlEvents EditingChanged = 1u << 17;
    constexpr ControlEvents EditingDidEnd = 1u << 18;
    constexpr ControlEvents EditingDidEndOnExit = 1u << 19;
    constexpr ControlEvents AllTouchEvents = 0x00000FFFu;
    constexpr ControlEvents AllEditingEvents = 0x000F0000u;
    constexpr ControlEvents AllEvents = 0xFFFFFFFFu;
} // namespace ControlEvent

using ControlStates = unsigned;

namespace ControlState {
    constexpr ControlStates Normal = 0;
    constexpr ControlStates Highlighted = 1u << 0;
    constexpr ControlStates Disabled = 1u << 1;
    constexpr ControlStates Selected = 1u << 2;
} // namespace ControlState

} // namespace ui
