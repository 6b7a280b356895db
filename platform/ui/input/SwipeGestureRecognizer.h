// ui::SwipeGestureRecognizer: a discrete recogniser of a quick stroke in one of the allowed directions. It
// recognises, while the fingers are still down, once they have travelled `minimumDistance` points in an
// allowed direction within maximumDuration of touch-down, keeping within half that travel of the straight
// line; a slower, crooked, wrong-way or unfinished stroke fails it. Main thread.
//
//   auto swipe = std::make_shared<ui::SwipeGestureRecognizer>([weak](ui::GestureRecognizer&) { ... });
//   swipe->setDirection(ui::SwipeGestureRecognizer::Left | ui::SwipeGestureRecognizer::Right);
#pragma once

#include "ui/input/GestureRecognizer.h"

namespace ui {

class SwipeGestureRecognizer : public GestureRecognizer {
public:
    // Direction bits.
    static constexpr unsigned Right = 1;
    static constexpr unsigned Left = 2;
    static constexpr unsigned Up = 4;
    static constexpr unsigned Down = 8;
    static constexpr double minimumDistance = 50;
    static constexpr base::Duration maximumDuration { 0.5 };

    using GestureRecognizer::GestureRecognizer;

    unsigned direction() const { return m_direction; }
    void setDirection(unsigned direction) { m_direction = direction; }
    size_t numberOfTouchesRequired() const { return m_touchesRequired; }
    void setNumberOfTouchesRequired(size_t touches) { m_touchesRequired = touches; }

    bool isDiscrete() const override { return true; }

protected:
    void touchesBegan(const TouchSet& touches) override;
    void touchesMoved(const TouchSet& touches) override;
    void touchesEnded(const TouchSet& touches) override;
    void reset() override;

private:
    unsigned m_direction { Right };
    size_t m_touchesRequired { 1 };
    bool m_started { false };
    gfx::Point m_start;
    base::Clock::TimePoint m_startTime;
};

} // namespace ui
