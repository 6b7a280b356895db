// ui::PinchGestureRecognizer: a continuous recogniser of two fingers moving apart or together. It begins once
// the distance between the fingers has changed by `threshold` points, reports the scale (the distance now
// over the distance when the second finger went down, times the scale it started from) on every move, and
// ends when a finger lifts. A third finger makes a possible pinch fail. The velocity is in scale per second.
// The desktop host makes its pinch from two synthetic touches. Main thread.
//
//   auto pinch = std::make_shared<ui::PinchGestureRecognizer>([weak](ui::GestureRecognizer& g) {
//       if (auto self = weak.lock()) self->zoom(static_cast<ui::PinchGestureRecognizer&>(g).scale());
//   });
#pragma once

#include "ui/input/GestureRecognizer.h"
#include "ui/input/VelocityEstimator.h"

namespace ui {

class PinchGestureRecognizer : public GestureRecognizer {
public:
    static constexpr double threshold = 8;

    using GestureRecognizer::GestureRecognizer;

    double scale() const { return m_scale; }
    // Sets the scale the next movement multiplies (1 starts afresh from the present distance).
    void setScale(double scale);
    double velocity() const { return m_velocity.perSecond(); }

    bool isDiscrete() const override { return false; }

protected:
    void touchesBegan(const TouchSet& touches) override;
    void touchesMoved(const TouchSet& touches) override;
    void touchesEnded(const TouchSet& touches) override;
    void reset() override;

private:
    double fingerDistance() const;

    double m_scale { 1 };
    double m_baseScale { 1 };
    double m_startDistance { 0 };
    VelocityEstimator<double> m_velocity;
};

} // namespace ui
