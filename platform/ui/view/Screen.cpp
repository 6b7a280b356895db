#include "ui/view/Screen.h"

#include "base/system/Facts.h"
#include "base/loop/MainThread.h"
#include "ui/view/Application.h"

namespace ui {

Screen& Screen::main()
{
    BASE_ASSERT_MAIN_THREAD();
    static Screen* screen = new Screen;
    return *screen;
}

double Screen::scale() const { return base::Facts::current().screenScale(); }

void Screen::setScale(double scale) { base::Facts::current().setScreenScale(scale); }

gfx::Rect Screen::applicationFrame() const
{
    if (Application::shared().isStatusBarHidden())
        return m_bounds;
    return { m_bounds.minX(), m_bounds.minY() + statusBarHeight, m_bounds.width(),
        m_bounds.height() - statusBarHeight };
}

} // namespace ui
