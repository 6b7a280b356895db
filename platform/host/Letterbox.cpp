#include "host/Letterbox.h"

#include <algorithm>

namespace host {

Letterbox Letterbox::fit(gfx::Size screen, gfx::Size window)
{
    Letterbox box;
    if (screen.width <= 0 || screen.height <= 0 || window.width <= 0 || window.height <= 0)
        return box;
    box.m_scale = std::min(window.width / screen.width, window.height / screen.height);
    double width = screen.width * box.m_scale;
    double height = screen.height * box.m_scale;
    box.m_picture = { (window.width - width) / 2, (window.height - height) / 2, width, height };
    return box;
}

gfx::Point Letterbox::toPoints(gfx::Point inWindow) const
{
    return { (inWindow.x - m_picture.minX()) / m_scale, (inWindow.y - m_picture.minY()) / m_scale };
}

} // namespace host
