#include "ui/controls/SegmentedControl.h"

#include "base/loop/MainThread.h"
#include "gfx/text/AttributedString.h"
#include "gfx/drawing/CurrentContext.h"
#include "gfx/drawing/Path.h"
#include "gfx/text/TextMeasuring.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

    constexpr double segmentPadding = 10;

} // namespace

SegmentedControl::SegmentedControl(const gfx::Rect& frame)
    : Control(frame)
{
    BASE_ASSERT_MAIN_THREAD();
    setOpaque(false);
}

SegmentedControl::SegmentedControl(std::vector<std::string> titles)
    : SegmentedControl(gfx::Rect {})
{
    BASE_ASSERT_MAIN_THREAD();
    for (auto& title : titles)
        m_segments.push_back({ std::move(title) });
    setFrame({ 0, 0, sizeThatFits({}).width, defaultHeight });
}

void SegmentedControl::insertSegmentWithTitle(std::string title, size_t index, bool)
{
    BASE_ASSERT_MAIN_THREAD();
    index = std::min(index, m_segments.size());
    m_segments.insert(m_segments.begin() + index, { std::move(title) });
    if (m_selected >= static_cast<int>(index))
        ++m_selected;
    setNeedsDisplay();
}

void SegmentedControl::removeSegmentAtIndex(size_t index, bool)
{
    BASE_ASSERT_MAIN_THREAD();
    if (index >= m_segments.size())
        return;
    m_segments.erase(m_segments.begin() + index);
    if (m_selected == static_cast<int>(index))
        m_selected = noSegment;
    else if (m_selected > static_cast<int>(index))
        --m_selected;
    setNeedsDisplay();
}

void SegmentedControl::removeAllSegments()
{
    BASE_ASSERT_MAIN_THREAD();
    m_segments.clear();
    m_selected = noSegment;
    setNeedsDisplay();
}

void SegmentedControl::setTitle(std::string title, size_t segment)
{
    BASE_ASSERT_MAIN_THREAD();
    if (segment < m_segments.size()) {
        m_segments[segment].title = std::move(title);
        setNeedsDisplay();
    }
}

std::string SegmentedControl::titleForSegmentAtIndex(size_t segment) const
{
    return segment < m_segments.size() ? m_segments[segment].title : std::string();
}

void SegmentedControl::setEnabledForSegmentAtIndex(bool enabled, size_t segment)
{
    BASE_ASSERT_MAIN_THREAD();
    if (segment < m_segments.size()) {
        m_segments[segment].enabled = enabled;
        setNeedsDisplay();
    }
}

bool SegmentedControl::isEnabledForSegmentAtIndex(size_t segment) const
{
    return segment < m_segments.size() && m_segments[segment].enabled;
}

void SegmentedControl::setSelectedSegmentIndex(int index)
{
    BASE_ASSERT_MAIN_THREAD();
    m_selected = index >= 0 && index < static_cast<int>(m_segments.size()) ? index : noSegment;
    setNeedsDisplay();
}

gfx::Rect SegmentedControl::segmentRect(size_t index) const
{
    gfx::Rect b = bounds();
    double width = m_segments.empty() ? 0 : b.width() / m_segments.size();
    return { b.minX() + index * width, b.minY(), width, b.height() };
}

int SegmentedControl::segmentAtPoint(gfx::Point point) const
{
    for (size_t i = 0; i < m_segments.size(); ++i) {
        if (segmentRect(i).contains(point))
            return static_cast<int>(i);
    }
    return noSegment;
}

gfx::Size SegmentedControl::sizeThatFits(gfx::Size) const
{
    double widest = 0;
    for (const auto& segment : m_segments)
        widest = std::max(widest, gfx::sizeWithAttributes(segment.title, { m_font, gfx::Color::black(), {} }).width);
    return { std::ceil((widest + 2 * segmentPadding) * m_segments.size()), defaultHeight };
}

bool SegmentedControl::beginTracking(const Touch& touch, const Event* event)
{
    BASE_ASSERT_MAIN_THREAD();
    Control::beginTracking(touch, event);
    m_pressed = segmentAtPoint(touch.locationInView(this));
    setNeedsDisplay();
    return true;
}

void SegmentedControl::endTracking(const Touch* touch, const Event* event)
{
    BASE_ASSERT_MAIN_THREAD();
    Control::endTracking(touch, event);
    m_pressed = noSegment;
    setNeedsDisplay();
    if (!touch)
        return;
    int segment = segmentAtPoint(touch->locationInView(this));
    if (segment == noSegment || !m_segments[segment].enabled)
        return;
    if (!m_momentary)
        m_selected = segment;
    sendActionsForControlEvents(ControlEvent::ValueChanged);
}

void SegmentedControl::cancelTracking(const Event* event)
{
    BASE_ASSERT_MAIN_THREAD();
    Control::cancelTracking(event);
    m_pressed = noSegment;
    setNeedsDisplay();
}

bool SegmentedControl::showsSelected(size_t index) const
{
    int segment = static_cast<int>(index);
    return segment == m_selected || (m_momentary && segment == m_pressed);
}

void SegmentedControl::drawRect(const gfx::Rect&)
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::Context* context = gfx::CurrentContext::get();
    if (!context)
        return;
    gfx::Color tint = tintColor();
    gfx::Rect outline = bounds().insetBy(0.5, 0.5);
    context->save();
    context->addPath(gfx::Path::roundedRect(outline, 4));
    context->clip();
    for (size_t i = 0; i < m_segments.size(); ++i) {
        gfx::Rect rect = segmentRect(i);
        context->setFillColor(tint);
        if (showsSelected(i))
            context->fillRect(rect);
        if (i > 0)
            context->fillRect({ rect.minX(), rect.minY(), 1, rect.height() });
    }
    context->restore();
    context->setStrokeColor(tint);
    context->setLineWidth(1);
    context->addPath(gfx::Path::roundedRect(outline, 4));
    context->strokePath();
    for (size_t i = 0; i < m_segments.size(); ++i) {
        gfx::Rect rect = segmentRect(i);
        gfx::Color textColor = showsSelected(i) ? gfx::Color::white() : tint;
        if (!m_segments[i].enabled)
            textColor = textColor.withAlpha(0.4);
        gfx::TextAttributes attributes { m_font, textColor, { gfx::TextAlignment::Center } };
        gfx::Size text = gfx::sizeWithAttributes(m_segments[i].title, attributes);
        context->drawText(gfx::AttributedString(m_segments[i].title, attributes),
            { rect.minX(), rect.midY() - text.height / 2, rect.width(), text.height });
    }
}

} // namespace ui
