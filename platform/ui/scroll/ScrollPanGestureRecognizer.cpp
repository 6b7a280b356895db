#include "ui/scroll/ScrollPanGestureRecognizer.h"

#include "base/loop/MainThread.h"
#include "ui/scroll/ScrollView.h"

#include <cmath>

namespace ui {

void ScrollPanGestureRecognizer::touchesBegan(const TouchSet& touches)
{
    BASE_ASSERT_MAIN_THREAD();
    if (state() == State::Possible && numberOfTouches() == touches.size())
        m_downLocation = centroidOfActiveTouches();
    PanGestureRecognizer::touchesBegan(touches);
}

void ScrollPanGestureRecognizer::touchesMoved(const TouchSet& touches)
{
    if (state() == State::Possible) {
        gfx::Point moved = centroidOfActiveTouches() - m_downLocation;
        auto scrollView = std::dynamic_pointer_cast<ScrollView>(view());
        if (scrollView && std::hypot(moved.x, moved.y) >= threshold) {
            bool horizontal = std::abs(moved.x) > std::abs(moved.y);
            bool movable = horizontal ? scrollView->canScrollHorizontally() : scrollView->canScrollVertically();
            if (!movable) {
                fail();
                return;
            }
        }
    }
    PanGestureRecognizer::touchesMoved(touches);
}

} // namespace ui
