#include "ui/Screen.h"

#include "base/Facts.h"
#include "base/MainThread.h"
#include "ui/Application.h"

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
