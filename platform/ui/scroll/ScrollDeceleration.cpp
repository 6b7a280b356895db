#include "ui/scroll/ScrollDeceleration.h"

#include <cmath>

namespace ui {

namespace {

    // Friction: the velocity falls to 0.998 of itself every millisecond, so a fling of 1000 points per second
    // glides about 500 points.
    const double frictionPerSecond = -std::log(0.998) * 1000;
    // Below this speed (points per second) gliding content stops where it is.
    constexpr double stopSpeed = 10;
    // The spring's angular frequency: content 30 points past an edge is back within half a point of it in
    // about half a second.
    constexpr double springFrequency = 12;
    // Content this close to its edge, and this slow, has arrived: it is put exactly on the edge.
    constexpr double settleDistance = 0.5;
    constexpr double settleSpeed = 20;
    // The longest step of the integration, so that a long frame (or a test advancing a whole second) moves
    // the content as the same time in short frames would.
    constexpr double longestSubstep = 1.0 / 240;

} // namespace

ScrollDeceleration::ScrollDeceleration(gfx::Point velocity)
{
    m_x.velocity = velocity.x;
    m_y.velocity = velocity.y;
}

gfx::Point ScrollDeceleration::step(gfx::Point offset, const ScrollLimits& limits, double seconds)
{
    if (seconds <= 0)
        return offset;
    int substeps = static_cast<int>(std::ceil(seconds / longestSubstep));
    double h = seconds / substeps;
    for (int i = 0; i < substeps; ++i) {
        offset.x = stepAxis(m_x, offset.x, limits.min.x, limits.max.x, h);
        offset.y = stepAxis(m_y, offset.y, limits.min.y, limits.max.y, h);
    }
    return offset;
}

double ScrollDeceleration::stepAxis(Axis& axis, double position, double min, double max, double h)
{
    if (axis.resting)
        return position;
    if (axis.edge == Edge::None) {
        if (position < min)
            axis.edge = Edge::Min;
        else if (position > max)
            axis.edge = Edge::Max;
    }
    if (axis.edge == Edge::None) {
        axis.velocity *= std::exp(-frictionPerSecond * h);
        position += axis.velocity * h;
        if (position < min)
            axis.edge = Edge::Min;
        else if (position > max)
            axis.edge = Edge::Max;
        else if (std::abs(axis.velocity) < stopSpeed) {
            axis.velocity = 0;
            axis.resting = true;
        }
        return position;
    }
    double target = axis.edge == Edge::Min ? min : max;
    double distance = position - target;
    axis.velocity += (-springFrequency * springFrequency * distance - 2 * springFrequency * axis.velocity) * h;
    position += axis.velocity * h;
    if (std::abs(position - target) < settleDistance && std::abs(axis.velocity) < settleSpeed) {
        axis.velocity = 0;
        axis.resting = true;
        return target;
    }
    return position;
}

} // namespace ui
