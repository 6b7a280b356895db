// The pop tip's layout: text bounds, the tip's frame beside the from frame (kept inside the container), the
// arrow tip and the anchor point the show and hide scaling turns about.
#include "kit/popover/PopTip.h"

#include "gfx/text/TextMeasuring.h"
#include "ui/input/TapGestureRecognizer.h"

#include <algorithm>
#include <limits>

namespace kit {

void PopTip::setup()
{
    auto container = containerView();
    gfx::Rect area = container ? container->bounds() : gfx::Rect::zero();
    const gfx::Rect& from = m_fromFrame;
    double p = m_padding;
    const gfx::EdgeInsets& insets = m_edgeInsets;
    double arrowWidth = m_arrowSize.width;
    double arrowHeight = m_arrowSize.height;
    double horizontalSpace = 2 * p + insets.left + insets.right;
    double verticalSpace = 2 * p + insets.top + insets.bottom;

    if (m_direction == Left)
        m_maxWidth = std::min(m_maxWidth, from.minX() - horizontalSpace - arrowWidth);
    else if (m_direction == Right)
        m_maxWidth = std::min(m_maxWidth, area.width() - from.minX() - from.width() - horizontalSpace - arrowWidth);
    // Near an edge the room left can be negative; no text is narrower than nothing.
    m_maxWidth = std::max(m_maxWidth, 0.0);

    gfx::Size limit { m_maxWidth, std::numeric_limits<double>::max() };
    if (m_text) {
        gfx::TextAttributes attributes;
        attributes.font = m_font;
        m_textBounds
            = gfx::boundingRectWithSize(*m_text, limit, gfx::DrawingOptions::UsesLineFragmentOrigin, attributes);
    } else if (m_attributedText) {
        m_textBounds = gfx::boundingRectWithSize(*m_attributedText, limit, gfx::DrawingOptions::UsesLineFragmentOrigin);
    }
    m_textBounds.origin = { p + insets.left, p + insets.top };
    double textWidth = m_textBounds.width();
    double textHeight = m_textBounds.height();

    double offset = m_offset;
    double signedOffset = (m_direction == Up || m_direction == Left || m_direction == None) ? -offset : offset;

    double x;
    double y;
    double width;
    double height;
    if (m_direction == Up || m_direction == Down) {
        width = textWidth + horizontalSpace;
        height = textHeight + verticalSpace + arrowHeight;
        x = from.minX() + from.width() * 0.5 - width * 0.5;
        if (x < 0)
            x = m_edgeMargin;
        if (x + width > area.width())
            x = area.width() - width - m_edgeMargin;
        y = m_direction == Up ? from.minY() - height + signedOffset : from.minY() + from.height() + signedOffset;
    } else if (m_direction == Left || m_direction == Right) {
        width = textWidth + horizontalSpace + arrowWidth;
        height = textHeight + verticalSpace;
        x = m_direction == Left ? from.minX() - width + signedOffset : from.minX() + from.width() + signedOffset;
        y = from.minY() + from.height() * 0.5 - height * 0.5;
        if (y < 0)
            y = m_edgeMargin;
        if (y + height > area.height())
            y = area.height() - height - m_edgeMargin;
    } else {
        width = textWidth + horizontalSpace;
        height = textHeight + verticalSpace;
        x = from.midX() - width * 0.5;
        y = from.midY() - height * 0.5 + signedOffset;
    }
    double frameWidth = width + 2 * m_borderWidth;
    double frameHeight = height + 2 * m_borderWidth;

    switch (m_direction) {
    case Up:
        m_arrowPosition = { from.minX() + from.width() * 0.5 - x, frameHeight };
        layer()->setAnchorPoint({ m_arrowPosition.x / frameWidth, 1 });
        break;
    case Down:
        m_arrowPosition = { from.minX() + from.width() * 0.5 - x, from.minY() + from.height() - y + signedOffset };
        m_textBounds.origin.y += arrowHeight;
        layer()->setAnchorPoint({ m_arrowPosition.x / frameWidth, 0 });
        break;
    case Left:
        m_arrowPosition = { from.minX() - x + signedOffset, from.minY() + from.height() * 0.5 - y };
        layer()->setAnchorPoint({ 1, m_arrowPosition.y / frameHeight });
        break;
    case Right:
        m_arrowPosition = { from.minX() + from.width() - x + signedOffset, from.minY() + from.height() * 0.5 - y };
        m_textBounds.origin.x += arrowWidth;
        layer()->setAnchorPoint({ 0, m_arrowPosition.y / frameHeight });
        break;
    case None:
        m_arrowPosition = { 0, 0 };
        layer()->setAnchorPoint({ 0.5, 0.5 });
        break;
    default:
        break;
    }

    setBackgroundColor(gfx::Color::clear());
    setFrame({ x, y, frameWidth, frameHeight });
    if (!m_gestureRecognizer) {
        m_gestureRecognizer
            = std::make_shared<ui::TapGestureRecognizer>([weak = ui::weakFrom(this)](ui::GestureRecognizer&) {
                  if (auto self = weak.lock())
                      self->handleTap();
              });
        addGestureRecognizer(m_gestureRecognizer);
    }
    setNeedsDisplay();
}

} // namespace kit
