// kit::ProgressOverlay: the layout of the box, its indicator and its labels.
#include "kit/overlay/ProgressOverlay.h"

#include "gfx/text/TextMeasuring.h"
#include "kit/overlay/ProgressOverlayBackdrop.h"
#include "ui/controls/Label.h"

#include <algorithm>
#include <cmath>

namespace kit {

namespace {
    // Space between the indicator, the label and the details label.
    constexpr double padding = 4;
    // The details label's measuring: wrapped lines, with font leading, the last visible line truncated.
    constexpr unsigned detailsMeasuring = gfx::DrawingOptions::UsesLineFragmentOrigin
        | gfx::DrawingOptions::UsesFontLeading | gfx::DrawingOptions::TruncatesLastVisibleLine;

    // Halves away from zero, as the box is drawn (layout rounds down).
    double roundToNearest(double value) { return std::round(value); }

    gfx::TextAttributes inFont(const gfx::Font& font)
    {
        gfx::TextAttributes attributes;
        attributes.font = font;
        return attributes;
    }
}

void ProgressOverlay::configureLabel(ui::Label& label, const gfx::Font& font, const std::string& text) const
{
    label.setFont(font);
    label.setAdjustsFontSizeToFitWidth(false);
    label.setTextAlignment(gfx::TextAlignment::Center);
    label.setOpaque(false);
    label.setBackgroundColor(gfx::Color::clear());
    label.setTextColor(gfx::Color::white());
    label.setText(text);
}

void ProgressOverlay::layoutSubviews()
{
    layoutBox();
    m_backdrop->setLook({ bounds(), boxRect(), m_opacity, m_dimBackground });
}

void ProgressOverlay::layoutBox()
{
    double hostWidth = bounds().width();
    double hostHeight = bounds().height();
    gfx::Size indicatorSize = m_indicator ? m_indicator->bounds().size : gfx::Size {};
    double margin = m_margin;

    m_width = static_cast<float>(indicatorSize.width + 2 * margin);
    m_height = static_cast<float>(indicatorSize.height + 2 * margin);
    gfx::Rect indicatorFrame { std::floor((hostWidth - indicatorSize.width) / 2) + m_xOffset,
        std::floor((hostHeight - indicatorSize.height) / 2) + m_yOffset, indicatorSize.width, indicatorSize.height };
    if (m_indicator)
        m_indicator->setFrame(indicatorFrame);

    if (!m_labelText)
        return layoutSquareAndMinimum();

    gfx::Size measured = gfx::sizeWithAttributes(*m_labelText, inFont(m_labelFont));
    double labelWidth = std::min(measured.width, hostWidth - 4 * margin);
    double labelHeight = measured.height;
    configureLabel(*m_label, m_labelFont, *m_labelText);
    m_width = std::max<float>(m_width, static_cast<float>(labelWidth + 2 * margin));
    m_height += static_cast<float>(labelHeight + padding);
    indicatorFrame.origin.y -= std::floor(labelHeight / 2 + padding / 2);
    if (m_indicator)
        m_indicator->setFrame(indicatorFrame);
    gfx::Rect labelFrame { std::floor((hostWidth - labelWidth) / 2) + m_xOffset,
        std::floor(indicatorFrame.origin.y + indicatorSize.height + padding), labelWidth, labelHeight };
    m_label->setFrame(labelFrame);
    addSubview(m_label);

    if (!m_detailsLabelText)
        return layoutSquareAndMinimum();

    configureLabel(*m_detailsLabel, m_detailsLabelFont, *m_detailsLabelText);
    m_detailsLabel->setNumberOfLines(0);
    gfx::Size available { hostWidth - 4 * margin, hostHeight - m_height - 2 * margin };
    gfx::Size details
        = gfx::boundingRectWithSize(*m_detailsLabelText, available, detailsMeasuring, inFont(m_detailsLabelFont)).size;
    m_width = std::max<float>(m_width, static_cast<float>(details.width + 2 * margin));
    m_height += static_cast<float>(details.height + padding);
    double lift = std::floor(details.height / 2 + padding / 2);
    indicatorFrame.origin.y -= lift;
    labelFrame.origin.y -= lift;
    if (m_indicator)
        m_indicator->setFrame(indicatorFrame);
    m_label->setFrame(labelFrame);
    m_detailsLabel->setFrame({ std::floor((hostWidth - details.width) / 2) + m_xOffset,
        labelFrame.origin.y + labelHeight + padding, details.width, details.height });
    addSubview(m_detailsLabel);
    layoutSquareAndMinimum();
}

void ProgressOverlay::layoutSquareAndMinimum()
{
    if (m_square) {
        float side = std::max(m_width, m_height);
        if (side <= bounds().width() - 2 * m_margin)
            m_width = side;
        if (side <= bounds().height() - 2 * m_margin)
            m_height = side;
    }
    m_width = std::max(m_width, static_cast<float>(m_minSize.width));
    m_height = std::max(m_height, static_cast<float>(m_minSize.height));
}

gfx::Rect ProgressOverlay::boxRect() const
{
    return { roundToNearest((bounds().width() - m_width) / 2) + m_xOffset,
        roundToNearest((bounds().height() - m_height) / 2) + m_yOffset, m_width, m_height };
}

} // namespace kit
