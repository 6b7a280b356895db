// ui::Touch: one finger on the screen, from touch-down to lift or cancellation. A touch is bound at touch-down
// to the view the hit test found, that view's window and the gesture recognisers of the view and its
// ancestors; later changes to the views (user interaction switched off, views moved or removed) never
// re-route it. The touch dispatcher updates its phase, location and time as events arrive; everything else
// reads it. Locations are kept in the coordinates of the touch's window. Main thread.
//
//   void MyView::touchesEnded(const ui::TouchSet& touches) {
//       gfx::Point p = touches.front()->locationInView(this);
//       if (bounds().contains(p)) toggle();
//   }
#pragma once

#include "base/Clock.h"
#include "gfx/Point.h"

#include <memory>
#include <vector>

namespace ui {

class GestureRecognizer;
class View;
class Window;

enum class TouchPhase { Began = 0, Moved = 1, Stationary = 2, Ended = 3, Cancelled = 4 };

class Touch {
public:
    Touch(gfx::Point locationInWindow, base::Clock::TimePoint timestamp, int tapCount = 1);

    TouchPhase phase() const { return m_phase; }
    // The instant of the latest event of this touch, on the installed clock.
    base::Clock::TimePoint timestamp() const { return m_timestamp; }
    // 1 for a single tap; 2 when this touch went down soon after, and near, the previous one; and so on.
    int tapCount() const { return m_tapCount; }

    gfx::Point locationInWindow() const { return m_location; }
    gfx::Point previousLocationInWindow() const { return m_previousLocation; }
    // In the coordinates of `view` (which should be in the touch's window); nullptr: the window's coordinates.
    gfx::Point locationInView(const View* view) const;
    gfx::Point previousLocationInView(const View* view) const;

    // The bindings made at touch-down.
    std::shared_ptr<View> view() const { return m_view.lock(); }
    std::shared_ptr<Window> window() const { return m_window.lock(); }
    const std::vector<std::shared_ptr<GestureRecognizer>>& gestureRecognizers() const { return m_recognizers; }

    // For the touch dispatcher (and tests that feed recognisers directly).
    void bind(std::weak_ptr<View> view, std::weak_ptr<Window> window,
        std::vector<std::shared_ptr<GestureRecognizer>> recognizers);
    void update(TouchPhase phase, gfx::Point locationInWindow, base::Clock::TimePoint timestamp);
    // Lets go of the recognisers once the touch is over, so that finished touches keep nothing alive.
    void releaseRecognizers() { m_recognizers.clear(); }

private:
    TouchPhase m_phase { TouchPhase::Began };
    gfx::Point m_location;
    gfx::Point m_previousLocation;
    base::Clock::TimePoint m_timestamp;
    int m_tapCount;
    std::weak_ptr<View> m_view;
    std::weak_ptr<Window> m_window;
    std::vector<std::shared_ptr<GestureRecognizer>> m_recognizers;
};

// The touches of one event: most events carry one touch; the Parts take "any one" of them (front()).
using TouchSet = std::vector<std::shared_ptr<Touch>>;

} // namespace ui
