// The numbered choices of views, with the platform's values: autoresizing bits, content modes, tint
// adjustment modes, and the options and curves of view animations.
#pragma once

namespace ui {

// Which parts of a view's frame stretch when its superview's bounds change size.
namespace AutoresizingMask {
    constexpr unsigned None = 0;
    constexpr unsigned FlexibleLeftMargin = 1;
    constexpr unsigned FlexibleWidth = 2;
    constexpr unsigned FlexibleRightMargin = 4;
    constexpr unsigned FlexibleTopMargin = 8;
    constexpr unsigned FlexibleHeight = 16;
    constexpr unsigned FlexibleBottomMargin = 32;
} // namespace AutoresizingMask

// How a view's drawing (or its layer's contents) sits in its bounds. Redraw stretches like ScaleToFill and
// also redraws the view whenever its bounds change size.
enum class ContentMode {
    ScaleToFill = 0,
    ScaleAspectFit = 1,
    ScaleAspectFill = 2,
    Redraw = 3,
    Center = 4,
    Top = 5,
    Bottom = 6,
    Left = 7,
    Right = 8,
    TopLeft = 9,
    TopRight = 10,
    BottomLeft = 11,
    BottomRight = 12
};

// Automatic follows the superview (Normal at the top of the tree); Dimmed greys the tint colour.
enum class TintAdjustmentMode { Automatic = 0, Normal = 1, Dimmed = 2 };

namespace AnimationOptions {
    // The new animation starts from what is drawn instead of from the old model value.
    constexpr unsigned BeginFromCurrentState = 1u << 2;
    constexpr unsigned CurveEaseInOut = 0u << 16;
    constexpr unsigned CurveEaseIn = 1u << 16;
    constexpr unsigned CurveEaseOut = 2u << 16;
    constexpr unsigned CurveLinear = 3u << 16;
} // namespace AnimationOptions

enum class AnimationCurve { EaseInOut = 0, EaseIn = 1, EaseOut = 2, Linear = 3 };

} // namespace ui
