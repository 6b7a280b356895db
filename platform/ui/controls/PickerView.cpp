#include "ui/controls/PickerView.h"

#include "base/loop/MainThread.h"
#include "gfx/text/AttributedString.h"
#include "gfx/drawing/CurrentContext.h"
#include "gfx/text/TextMeasuring.h"
#include "ui/input/InputEvents.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

    // A finger that moves less than this is a tap.
    constexpr double tapMovement = 10;
    constexpr int visibleNeighbours = 3;
    constexpr gfx::Color ruleColor = gfx::Color::fromWhite(0.8, 1);

    gfx::Rect sizedFrame(const gfx::Rect& frame)
    {
        if (frame.size.width > 0 || frame.size.height > 0)
            return frame;
        return { frame.origin, PickerView::defaultSize };
    }

} // namespace

PickerView::PickerView(const gfx::Rect& frame)
    : View(sizedFrame(frame))
{
    BASE_ASSERT_MAIN_THREAD();
    setOpaque(false);
    setContentMode(ContentMode::Redraw);
}

void PickerView::setDataSource(std::weak_ptr<PickerViewDataSource> dataSource)
{
    BASE_ASSERT_MAIN_THREAD();
    m_dataSource = std::move(dataSource);
    reloadAllComponents();
}

void PickerView::setDelegate(std::weak_ptr<PickerViewDelegate> delegate)
{
    BASE_ASSERT_MAIN_THREAD();
    m_delegate = std::move(delegate);
    setNeedsDisplay();
}

size_t PickerView::numberOfComponents() const
{
    auto dataSource = m_dataSource.lock();
    return dataSource ? dataSource->numberOfComponentsInPickerView(const_cast<PickerView&>(*this)) : 0;
}

size_t PickerView::numberOfRowsInComponent(size_t component) const
{
    auto dataSource = m_dataSource.lock();
    if (!dataSource || component >= numberOfComponents())
        return 0;
    return dataSource->pickerViewNumberOfRowsInComponent(const_cast<PickerView&>(*this), component);
}

void PickerView::clampSelection(size_t component)
{
    if (component >= m_selected.size())
        return;
    int rows = static_cast<int>(numberOfRowsInComponent(component));
    m_selected[component] = std::clamp(m_selected[component], 0, std::max(rows - 1, 0));
}

void PickerView::reloadAllComponents()
{
    BASE_ASSERT_MAIN_THREAD();
    m_selected.resize(numberOfComponents(), 0);
    for (size_t component = 0; component < m_selected.size(); ++component)
        clampSelection(component);
    setNeedsDisplay();
}

void PickerView::reloadComponent(size_t component)
{
    BASE_ASSERT_MAIN_THREAD();
    clampSelection(component);
    setNeedsDisplay();
}

int PickerView::selectedRowInComponent(size_t component) const
{
    if (numberOfRowsInComponent(component) == 0)
        return -1;
    if (m_selected.size() <= component)
        m_selected.resize(component + 1, 0);
    return std::min(m_selected[component], static_cast<int>(numberOfRowsInComponent(component)) - 1);
}

void PickerView::selectRow(int row, size_t component, bool)
{
    BASE_ASSERT_MAIN_THREAD();
    int rows = static_cast<int>(numberOfRowsInComponent(component));
    if (rows == 0)
        return;
    if (m_selected.size() <= component)
        m_selected.resize(component + 1, 0);
    m_selected[component] = std::clamp(row, 0, rows - 1);
    setNeedsDisplay();
}

std::optional<std::string> PickerView::titleForRow(size_t row, size_t component) const
{
    auto delegate = m_delegate.lock();
    return delegate ? delegate->pickerViewTitleForRow(const_cast<PickerView&>(*this), row, component) : std::nullopt;
}

gfx::Rect PickerView::componentRect(size_t component) const
{
    gfx::Rect b = bounds();
    size_t count = numberOfComponents();
    double width = count ? b.width() / count : 0;
    return { b.minX() + component * width, b.minY(), width, b.height() };
}

std::optional<size_t> PickerView::componentAtX(double x) const
{
    for (size_t component = 0, count = numberOfComponents(); component < count; ++component) {
        gfx::Rect rect = componentRect(component);
        if (x >= rect.minX() && x < rect.maxX())
            return component;
    }
    return std::nullopt;
}

int PickerView::rowAfter(const Spin& spin, gfx::Point location) const
{
    double dy = location.y - spin.start.y;
    if (std::fabs(dy) < tapMovement && std::fabs(location.x - spin.start.x) < tapMovement)
        return spin.startRow + static_cast<int>(std::lround((location.y - bounds().midY()) / rowHeight));
    // Dragging down brings earlier rows to the centre.
    return spin.startRow - static_cast<int>(std::lround(dy / rowHeight));
}

void PickerView::touchesBegan(const TouchSet& touches, const Event*)
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_touch)
        return;
    gfx::Point location = touches.front()->locationInView(this);
    auto component = componentAtX(location.x);
    if (!component || numberOfRowsInComponent(*component) == 0)
        return;
    m_touch = touches.front();
    m_spin = Spin { *component, location, selectedRowInComponent(*component) };
}

void PickerView::touchesMoved(const TouchSet& touches, const Event*)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_touch || touches.front() != m_touch)
        return;
    gfx::Point location = m_touch->locationInView(this);
    if (std::fabs(location.y - m_spin->start.y) >= tapMovement) {
        selectRow(m_spin->startRow - static_cast<int>(std::lround((location.y - m_spin->start.y) / rowHeight)),
            m_spin->component);
    }
}

void PickerView::touchesEnded(const TouchSet& touches, const Event*)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_touch || touches.front() != m_touch)
        return;
    auto self = sharedFrom(this);
    Spin spin = *m_spin;
    int row = rowAfter(spin, m_touch->locationInView(this));
    m_touch.reset();
    m_spin.reset();
    selectRow(row, spin.component);
    int selected = selectedRowInComponent(spin.component);
    if (selected == spin.startRow)
        return;
    if (auto delegate = m_delegate.lock())
        delegate->pickerViewDidSelectRow(*this, selected, spin.component);
}

void PickerView::touchesCancelled(const TouchSet& touches, const Event*)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_touch || touches.front() != m_touch)
        return;
    selectRow(m_spin->startRow, m_spin->component);
    m_touch.reset();
    m_spin.reset();
}

bool PickerView::scrollWheel(gfx::Point location, gfx::Point delta)
{
    BASE_ASSERT_MAIN_THREAD();
    auto component = componentAtX(location.x);
    if (!component || numberOfRowsInComponent(*component) == 0 || m_touch)
        return false;
    if (*component != m_wheelComponent || (m_wheelTravel > 0) != (delta.y > 0))
        m_wheelTravel = 0;
    m_wheelComponent = *component;
    m_wheelTravel += delta.y;
    int rows = static_cast<int>(std::trunc(m_wheelTravel / ScrollEvent::wheelStep));
    if (rows == 0)
        return true;
    m_wheelTravel -= rows * ScrollEvent::wheelStep;
    auto self = sharedFrom(this);
    int before = selectedRowInComponent(*component);
    selectRow(before + rows, *component);
    int selected = selectedRowInComponent(*component);
    if (selected == before)
        return true;
    if (auto delegate = m_delegate.lock())
        delegate->pickerViewDidSelectRow(*this, selected, *component);
    return true;
}

void PickerView::drawRect(const gfx::Rect&)
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::Context* context = gfx::CurrentContext::get();
    if (!context)
        return;
    gfx::Rect b = bounds();
    double centreTop = b.midY() - rowHeight / 2;
    context->setFillColor(ruleColor);
    context->fillRect({ b.minX(), centreTop, b.width(), 0.5 });
    context->fillRect({ b.minX(), centreTop + rowHeight - 0.5, b.width(), 0.5 });
    for (size_t component = 0, count = numberOfComponents(); component < count; ++component) {
        gfx::Rect column = componentRect(component);
        int selected = selectedRowInComponent(component);
        int rows = static_cast<int>(numberOfRowsInComponent(component));
        for (int offset = -visibleNeighbours; offset <= visibleNeighbours; ++offset) {
            int row = selected + offset;
            if (row < 0 || row >= rows)
                continue;
            auto title = titleForRow(row, component);
            if (!title)
                continue;
            double fade = 1 - 0.25 * std::abs(offset);
            gfx::TextAttributes attributes { gfx::Font::system(offset == 0 ? 21 : 18),
                gfx::Color::black().withAlpha(fade), { gfx::TextAlignment::Center } };
            gfx::Size size = gfx::sizeWithAttributes(*title, attributes);
            double middle = b.midY() + offset * rowHeight;
            context->drawText(gfx::AttributedString(*title, attributes),
                { column.minX(), middle - size.height / 2, column.width(), size.height });
        }
    }
}

} // namespace ui
