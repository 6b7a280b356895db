#include "ui/animation/TimingFunction.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

    // One coordinate of the cubic Bezier from 0 to 1 through the control values p1 and p2.
    double cubic(double p1, double p2, double t)
    {
        double u = 1 - t;
        return 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t;
    }

    double cubicSlope(double p1, double p2, double t)
    {
        double u = 1 - t;
        return 3 * u * u * p1 + 6 * u * t * (p2 - p1) + 3 * t * t * (1 - p2);
    }

    // What the spring's swing must shrink to by the end of the duration.
    constexpr double settledFraction = 1e-3;

} // namespace

TimingFunction TimingFunction::named(Name name)
{
    switch (name) {
    case Name::Linear:
        return bezier({ 0, 0 }, { 1, 1 });
    case Name::EaseIn:
        return bezier({ 0.42, 0 }, { 1, 1 });
    case Name::EaseOut:
        return bezier({ 0, 0 }, { 0.58, 1 });
    case Name::EaseInEaseOut:
        return bezier({ 0.42, 0 }, { 0.58, 1 });
    case Name::Default:
        return bezier({ 0.25, 0.1 }, { 0.25, 1 });
    }
    return bezier({ 0, 0 }, { 1, 1 });
}

TimingFunction TimingFunction::bezier(gfx::Point control1, gfx::Point control2)
{
    TimingFunction f;
    f.m_control1 = { std::clamp(control1.x, 0.0, 1.0), control1.y };
    f.m_control2 = { std::clamp(control2.x, 0.0, 1.0), control2.y };
    return f;
}

TimingFunction TimingFunction::spring(double dampingRatio, double initialVelocity)
{
    TimingFunction f;
    f.m_spring = true;
    f.m_damping = std::max(dampingRatio, 0.01);
    f.m_velocity = initialVelocity;
    return f;
}

double TimingFunction::progress(double fraction, double duration) const
{
    if (fraction <= 0)
        return 0;
    if (fraction >= 1)
        return 1;
    if (m_spring)
        return duration > 0 ? springProgress(fraction * duration, duration) : 1;
    return bezierProgress(fraction);
}

double TimingFunction::bezierProgress(double x) const
{
    // Find the curve parameter whose x is `x` (Newton's method, then bisection if it strays), and answer y.
    double t = x;
    for (int i = 0; i < 8; ++i) {
        double error = cubic(m_control1.x, m_control2.x, t) - x;
        if (std::fabs(error) < 1e-9)
            return cubic(m_control1.y, m_control2.y, t);
        double slope = cubicSlope(m_control1.x, m_control2.x, t);
        if (std::fabs(slope) < 1e-6)
            break;
        t -= error / slope;
    }
    double low = 0, high = 1;
    t = x;
    for (int i = 0; i < 60; ++i) {
        double value = cubic(m_control1.x, m_control2.x, t);
        if (std::fabs(value - x) < 1e-9)
            break;
        if (value < x)
            low = t;
        else
            high = t;
        t = (low + high) / 2;
    }
    return cubic(m_control1.y, m_control2.y, t);
}

double TimingFunction::springProgress(double seconds, double duration) const
{
    // The offset y = progress - 1 of a damped oscillator: y'' = -w0^2 y - 2 z w0 y', y(0) = -1, y'(0) = v0.
    double z = m_damping;
    double v0 = m_velocity;
    double decay = std::log(1 / settledFraction) / duration;
    double y;
    if (z < 1) {
        double w0 = decay / z;
        double wd = w0 * std::sqrt(1 - z * z);
        double b = (v0 - z * w0) / wd;
        y = std::exp(-z * w0 * seconds) * (-std::cos(wd * seconds) + b * std::sin(wd * seconds));
    } else if (z == 1) {
        double w0 = decay;
        y = std::exp(-w0 * seconds) * (-1 + (v0 - w0) * seconds);
    } else {
        // The slower of the two decays sets the stiffness.
        double root = std::sqrt(z * z - 1);
        double w0 = decay / (z - root);
        double r1 = -w0 * (z - root);
        double r2 = -w0 * (z + root);
        double c1 = (v0 + r2) / (r1 - r2);
        double c2 = -1 - c1;
        y = c1 * std::exp(r1 * seconds) + c2 * std::exp(r2 * seconds);
    }
    return 1 + y;
}

} // namespace ui
