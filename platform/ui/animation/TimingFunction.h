// ui::TimingFunction: how an animation's progress follows its time: a cubic Bezier curve from (0, 0) to
// (1, 1) (the named curves: linear, ease-in, ease-out, ease-in-ease-out and the default one), or a damped
// spring that reaches its target exactly at the end of the animation's duration. A value, any thread.
//
// The spring starts at 0 with `initialVelocity` (in whole distances per second) and is pulled towards 1; a
// damping ratio below 1 overshoots and swings back. Its stiffness is chosen from the duration so that the
// swing has died down to a thousandth of the distance by the end, where the progress becomes exactly 1.
//
//   auto ease = ui::TimingFunction::named(ui::TimingFunction::Name::EaseInEaseOut);
//   double p = ease.progress(0.5, 0.25);                         // 0.5
//   auto spring = ui::TimingFunction::spring(0.5, 0);
//   double q = spring.progress(0.5, 1.7);                         // may exceed 1
#pragma once

#include "gfx/geometry/Point.h"

namespace ui {

class TimingFunction {
public:
    enum class Name { Linear, EaseIn, EaseOut, EaseInEaseOut, Default };

    static TimingFunction named(Name name);
    static TimingFunction linear() { return named(Name::Linear); }
    static TimingFunction bezier(gfx::Point control1, gfx::Point control2);
    static TimingFunction spring(double dampingRatio, double initialVelocity);

    // The progress at `fraction` (0..1) of an animation lasting `duration` seconds.
    double progress(double fraction, double duration) const;

    bool isSpring() const { return m_spring; }
    gfx::Point control1() const { return m_control1; }
    gfx::Point control2() const { return m_control2; }
    double dampingRatio() const { return m_damping; }
    double initialVelocity() const { return m_velocity; }

    friend bool operator==(const TimingFunction&, const TimingFunction&) = default;

private:
    TimingFunction() = default;
    double bezierProgress(double fraction) const;
    double springProgress(double seconds, double duration) const;

    bool m_spring { false };
    gfx::Point m_control1;
    gfx::Point m_control2 { 1, 1 };
    double m_damping { 1 };
    double m_velocity { 0 };
};

} // namespace ui
