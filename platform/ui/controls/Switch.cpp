#include "ui/controls/Switch.h"

#include "base/loop/MainThread.h"
#include "gfx/drawing/CurrentContext.h"
#include "gfx/drawing/Path.h"

namespace ui {

namespace {

    constexpr gfx::Color platformGreen = gfx::Color::rgb(0.30, 0.85, 0.39);
    constexpr gfx::Color offTrackColor = gfx::Color::fromWhite(0.90, 1);
    constexpr double thumbInset = 2;

} // namespace

Switch::Switch(const gfx::Rect& frame)
    : Control({ frame.origin, size })
{
    BASE_ASSERT_MAIN_THREAD();
    setOpaque(false);
}

void Switch::setOn(bool on, bool)
{
    BASE_ASSERT_MAIN_THREAD();
    if (on == m_on)
        return;
    m_on = on;
    setNeedsDisplay();
}

gfx::Color Switch::onTintColor() const { return m_onTintColor.value_or(platformGreen); }

void Switch::setOnTintColor(std::optional<gfx::Color> color)
{
    BASE_ASSERT_MAIN_THREAD();
    m_onTintColor = color;
    setNeedsDisplay();
}

void Switch::setThumbTintColor(std::optional<gfx::Color> color)
{
    BASE_ASSERT_MAIN_THREAD();
    m_thumbTintColor = color;
    setNeedsDisplay();
}

void Switch::endTracking(const Touch* touch, const Event* event)
{
    BASE_ASSERT_MAIN_THREAD();
    Control::endTracking(touch, event);
    if (!isTouchInside())
        return;
    setOn(!m_on, true);
    sendActionsForControlEvents(ControlEvent::ValueChanged);
}

void Switch::drawRect(const gfx::Rect&)
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::Context* context = gfx::CurrentContext::get();
    if (!context)
        return;
    gfx::Rect track = bounds();
    double radius = track.height() / 2;
    context->setFillColor(m_on ? onTintColor() : offTrackColor);
    context->addPath(gfx::Path::roundedRect(track, radius));
    context->fillPath();
    double diameter = track.height() - 2 * thumbInset;
    double x = m_on ? track.maxX() - thumbInset - diameter : track.minX() + thumbInset;
    context->setFillColor(thumbTintColor());
    context->fillEllipse({ x, track.minY() + thumbInset, diameter, diameter });
}

} // namespace ui
