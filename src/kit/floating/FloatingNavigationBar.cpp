#include "kit/floating/FloatingNavigationBar.h"

#include "base/loop/MainThread.h"

namespace kit {

FloatingNavigationBar::FloatingNavigationBar(const gfx::Rect& frame)
    : ui::NavigationBar(frame)
{
    BASE_ASSERT_MAIN_THREAD();
    setBackgroundColor(gfx::Color::clear());
}

// The base view's version: it tells the display pass that the bar has nothing of its own to draw.
void FloatingNavigationBar::drawRect(const gfx::Rect& rect) { ui::View::drawRect(rect); }

} // namespace kit
