// ui::ScrollDeceleration: the motion of a scroll view's content after the finger has let go. Inside the rest
// range the content glides on with the release velocity and slows down by friction; beyond an edge (or once
// it has glided past one) a critically damped spring brings it back to that edge, where it stops exactly.
// The rest range is passed in on every step, so an inset set while the content moves (a refresh control
// holding the content open) changes where it comes to rest. Each axis moves on its own. A plain object,
// stepped by the scroll view on the display tick.
//
//   ui::ScrollDeceleration motion({ 0, -800 });                  // offset points per second
//   offset = motion.step(offset, limits, 1.0 / 60);
//   if (motion.isFinished()) ...
#pragma once

#include "gfx/geometry/Point.h"
#include "ui/scroll/ScrollLimits.h"

namespace ui {

class ScrollDeceleration {
public:
    // `velocity` is the rate of change of the content offset, in points per second.
    explicit ScrollDeceleration(gfx::Point velocity);

    // The offset `seconds` after `offset`, against the rest range as it is now.
    gfx::Point step(gfx::Point offset, const ScrollLimits& limits, double seconds);
    bool isFinished() const { return m_x.resting && m_y.resting; }
    gfx::Point velocity() const { return { m_x.velocity, m_y.velocity }; }

private:
    enum class Edge { None, Min, Max };
    struct Axis {
        double velocity { 0 };
        // The edge the spring pulls the content back to, once it has gone past one.
        Edge edge { Edge::None };
        bool resting { false };
    };

    static double stepAxis(Axis& axis, double position, double min, double max, double seconds);

    Axis m_x;
    Axis m_y;
};

} // namespace ui
