// ui::PanGestureRecognizer: a continuous recogniser of fingers dragged across the screen. It begins once the
// centre of its fingers has moved `threshold` points from where it went down, reports changed on every later
// move and ends when the fingers lift (cancelled when the touches are cancelled). The translation is
// cumulative from the touch-down point (settable, to measure from a new origin); the velocity is in points
// per second over the last tenth of a second of touch time. More fingers than maximumNumberOfTouches make a
// possible pan fail. Main thread.
//
//   auto pan = std::make_shared<ui::PanGestureRecognizer>([weak](ui::GestureRecognizer& g) {
//       auto& pan = static_cast<ui::PanGestureRecognizer&>(g);
//       if (auto self = weak.lock()) self->follow(pan.translationInView(self.get()), pan.velocityInView(nullptr));
//   });
#pragma once

#include "ui/input/GestureRecognizer.h"
#include "ui/input/VelocityEstimator.h"

#include <limits>

namespace ui {

class PanGestureRecognizer : public GestureRecognizer {
public:
    static constexpr double threshold = 10;

    using GestureRecognizer::GestureRecognizer;

    size_t minimumNumberOfTouches() const { return m_minimumTouches; }
    void setMinimumNumberOfTouches(size_t touches) { m_minimumTouches = touches; }
    size_t maximumNumberOfTouches() const { return m_maximumTouches; }
    void setMaximumNumberOfTouches(size_t touches) { m_maximumTouches = touches; }

    // In the coordinates of `view` (nullptr: the window's).
    gfx::Point translationInView(const View* view) const;
    void setTranslation(gfx::Point translation, const View* view);
    gfx::Point velocityInView(const View* view) const;

    bool isDiscrete() const override { return false; }

protected:
    void touchesBegan(const TouchSet& touches) override;
    void touchesMoved(const TouchSet& touches) override;
    void touchesEnded(const TouchSet& touches) override;
    void reset() override;

private:
    // Keeps the translation continuous when fingers join or leave (the centre jumps).
    void fingersChanged(base::Clock::TimePoint time);

    size_t m_minimumTouches { 1 };
    size_t m_maximumTouches { std::numeric_limits<size_t>::max() };
    bool m_started { false };
    gfx::Point m_origin;
    gfx::Point m_current;
    VelocityEstimator<gfx::Point> m_velocity;
};

} // namespace ui
