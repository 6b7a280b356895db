#include "ui/controls/Label.h"

#include "base/loop/MainThread.h"
#include "gfx/drawing/CurrentContext.h"
#include "gfx/text/TextMeasuring.h"

#include <cmath>

namespace ui {

namespace {

    // The grey of a disabled label's text.
    constexpr gfx::Color disabledTextColor = gfx::Color::fromWhite(0.56, 1);

} // namespace

Label::Label(const gfx::Rect& frame)
    : View(frame)
{
    BASE_ASSERT_MAIN_THREAD();
    setUserInteractionEnabled(false);
    setContentMode(ContentMode::Redraw);
    setOpaque(false);
}

void Label::changed() { setNeedsDisplay(); }

template <typename T> void Label::change(T& field, T value)
{
    // Setting what it already shows (a layout pass setting its text again) draws nothing new.
    if (field == value)
        return;
    field = std::move(value);
    changed();
}

void Label::setText(std::string text)
{
    BASE_ASSERT_MAIN_THREAD();
    change(m_text, std::move(text));
}

void Label::setFont(gfx::Font font)
{
    BASE_ASSERT_MAIN_THREAD();
    change(m_font, std::move(font));
}

void Label::setTextColor(gfx::Color color)
{
    BASE_ASSERT_MAIN_THREAD();
    change(m_textColor, std::move(color));
}

void Label::setTextAlignment(gfx::TextAlignment alignment)
{
    BASE_ASSERT_MAIN_THREAD();
    change(m_alignment, std::move(alignment));
}

void Label::setNumberOfLines(int lines)
{
    BASE_ASSERT_MAIN_THREAD();
    change(m_numberOfLines, std::max(lines, 0));
}

void Label::setLineBreakMode(gfx::LineBreakMode mode)
{
    BASE_ASSERT_MAIN_THREAD();
    change(m_lineBreakMode, std::move(mode));
}

void Label::setEnabled(bool enabled)
{
    BASE_ASSERT_MAIN_THREAD();
    change(m_enabled, std::move(enabled));
}

void Label::setShadowColor(std::optional<gfx::Color> color)
{
    BASE_ASSERT_MAIN_THREAD();
    change(m_shadowColor, std::move(color));
}

void Label::setShadowOffset(gfx::Size offset)
{
    BASE_ASSERT_MAIN_THREAD();
    change(m_shadowOffset, std::move(offset));
}

gfx::AttributedString Label::attributedText() const
{
    // One line is never wrapped (the mode only says how an over-long line is cut); more lines always wrap
    // at words, a truncating mode then cutting only what the line limit leaves out.
    gfx::LineBreakMode mode = m_lineBreakMode;
    if (m_numberOfLines == 1 && gfx::wraps(mode))
        mode = gfx::LineBreakMode::Clip;
    else if (m_numberOfLines != 1 && !gfx::wraps(mode))
        mode = gfx::LineBreakMode::WordWrap;
    gfx::TextAttributes attributes { m_font, m_enabled ? m_textColor : disabledTextColor, { m_alignment, mode } };
    return gfx::AttributedString(m_text, attributes);
}

gfx::Size Label::measure(double width) const
{
    if (m_text.empty())
        return {};
    gfx::TextLimits limits;
    limits.width = m_numberOfLines == 1 ? std::numeric_limits<double>::infinity() : width;
    limits.maxLines = m_numberOfLines;
    return gfx::measureText(attributedText(), limits);
}

gfx::Size Label::sizeThatFits(gfx::Size size) const
{
    gfx::Size measured = measure(size.width > 0 ? size.width : std::numeric_limits<double>::infinity());
    return { std::ceil(measured.width), std::ceil(measured.height) };
}

gfx::Rect Label::textRectForBounds(const gfx::Rect& bounds) const
{
    gfx::Size measured = measure(bounds.width());
    double height = std::min(measured.height, bounds.height());
    return { bounds.minX(), bounds.minY() + (bounds.height() - height) / 2, bounds.width(), height };
}

void Label::drawRect(const gfx::Rect&)
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::Context* context = gfx::CurrentContext::get();
    if (!context || m_text.empty())
        return;
    context->save();
    if (m_shadowColor)
        context->setShadow({ { m_shadowOffset.width, m_shadowOffset.height }, 0, *m_shadowColor });
    context->drawText(attributedText(), textRectForBounds(bounds()), m_numberOfLines);
    context->restore();
}

} // namespace ui
