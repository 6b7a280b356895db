#include "ui/scroll/TableViewCell.h"

#include "base/loop/MainThread.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/Label.h"
#include "ui/view/Screen.h"

#include <algorithm>
#include <limits>

namespace ui {

namespace {

    constexpr gfx::Color selectionGray { 0.85, 0.85, 0.85, 1 };
    constexpr gfx::Color detailGray { 0.56, 0.56, 0.58, 1 };
    constexpr double value2TextWidth = 67;
    constexpr double labelGap = 6;
    constexpr double unlimited = std::numeric_limits<double>::infinity();

} // namespace

TableViewCell::TableViewCell(TableViewCellStyle style, std::string reuseIdentifier)
    : View(gfx::Rect { 0, 0, 320, 44 })
    , m_style(style)
    , m_reuseIdentifier(std::move(reuseIdentifier))
    , m_selectionBackground(std::make_shared<View>())
    , m_contentView(std::make_shared<View>())
    , m_textLabel(std::make_shared<Label>())
    , m_imageView(std::make_shared<ImageView>())
    , m_separator(std::make_shared<View>())
{
    setBackgroundColor(gfx::Color::white());
    m_selectionBackground->setBackgroundColor(selectionGray);
    m_selectionBackground->setHidden(true);
    m_separator->setHidden(true);
    if (style != TableViewCellStyle::Default)
        m_detailTextLabel = std::make_shared<Label>();
    switch (style) {
    case TableViewCellStyle::Value1:
        m_detailTextLabel->setTextColor(detailGray);
        m_detailTextLabel->setTextAlignment(gfx::TextAlignment::Right);
        break;
    case TableViewCellStyle::Value2:
        m_textLabel->setFont(gfx::Font::boldSystem(12));
        m_textLabel->setTextColor(View::defaultTintColor());
        m_textLabel->setTextAlignment(gfx::TextAlignment::Right);
        m_detailTextLabel->setFont(gfx::Font::system(15));
        break;
    case TableViewCellStyle::Subtitle:
        m_detailTextLabel->setFont(gfx::Font::system(12));
        break;
    case TableViewCellStyle::Default:
        break;
    }
}

void TableViewCell::attachParts()
{
    if (m_partsAttached)
        return;
    m_partsAttached = true;
    insertSubviewAtIndex(m_selectionBackground, 0);
    insertSubviewAtIndex(m_contentView, 1);
    m_contentView->insertSubviewAtIndex(m_imageView, 0);
    m_contentView->insertSubviewAtIndex(m_textLabel, 1);
    if (m_detailTextLabel)
        m_contentView->insertSubviewAtIndex(m_detailTextLabel, 2);
    addSubview(m_separator);
    if (auto* shown = accessory())
        addSubview(sharedFrom(shown));
}

void TableViewCell::willMoveToSuperview(const std::shared_ptr<View>&) { attachParts(); }

View* TableViewCell::accessory() const
{
    if (m_accessoryView)
        return m_accessoryView.get();
    return m_accessoryMark.get();
}

void TableViewCell::setAccessoryType(TableViewCellAccessoryType type)
{
    BASE_ASSERT_MAIN_THREAD();
    if (type == m_accessoryType)
        return;
    m_accessoryType = type;
    if (m_accessoryMark)
        m_accessoryMark->removeFromSuperview();
    m_accessoryMark.reset();
    if (type != TableViewCellAccessoryType::None)
        m_accessoryMark = std::make_shared<TableViewCellAccessoryMark>(type);
    if (m_partsAttached && m_accessoryMark && !m_accessoryView)
        addSubview(m_accessoryMark);
    setNeedsLayout();
}

void TableViewCell::setAccessoryView(std::shared_ptr<View> view)
{
    BASE_ASSERT_MAIN_THREAD();
    if (view == m_accessoryView)
        return;
    if (m_accessoryView)
        m_accessoryView->removeFromSuperview();
    m_accessoryView = std::move(view);
    if (m_partsAttached) {
        if (m_accessoryView) {
            if (m_accessoryMark)
                m_accessoryMark->removeFromSuperview();
            addSubview(m_accessoryView);
        } else if (m_accessoryMark) {
            addSubview(m_accessoryMark);
        }
    }
    setNeedsLayout();
}

void TableViewCell::setSelectionStyle(TableViewCellSelectionStyle style)
{
    BASE_ASSERT_MAIN_THREAD();
    m_selectionStyle = style;
    updateSelectionBackground();
}

void TableViewCell::setSelected(bool selected, bool)
{
    BASE_ASSERT_MAIN_THREAD();
    m_selected = selected;
    updateSelectionBackground();
}

void TableViewCell::setHighlighted(bool highlighted, bool)
{
    BASE_ASSERT_MAIN_THREAD();
    m_highlighted = highlighted;
    updateSelectionBackground();
}

void TableViewCell::updateSelectionBackground()
{
    bool shows = (m_selected || m_highlighted) && m_selectionStyle != TableViewCellSelectionStyle::None;
    m_selectionBackground->setHidden(!shows);
}

void TableViewCell::setSeparator(bool visible, gfx::Color color)
{
    BASE_ASSERT_MAIN_THREAD();
    m_separator->setHidden(!visible);
    m_separator->setBackgroundColor(color);
}

void TableViewCell::layoutSubviews()
{
    BASE_ASSERT_MAIN_THREAD();
    attachParts();
    gfx::Rect area = bounds();
    m_selectionBackground->setFrame(area);
    double contentWidth = area.width();
    if (auto* shown = accessory()) {
        gfx::Size size = shown->frame().size;
        double x = area.width() - margin - size.width;
        shown->setFrame({ x, (area.height() - size.height) / 2, size.width, size.height });
        contentWidth = x;
    }
    m_contentView->setFrame({ 0, 0, std::max(0.0, contentWidth), area.height() });
    layoutLabels(m_contentView->bounds());
    double line = 1 / Screen::main().scale();
    m_separator->setFrame({ margin, area.height() - line, std::max(0.0, area.width() - margin), line });
}

void TableViewCell::layoutLabels(const gfx::Rect& area)
{
    double x = margin;
    if (auto& image = m_imageView->image()) {
        gfx::Size size = image->size();
        m_imageView->setFrame({ margin, (area.height() - size.height) / 2, size.width, size.height });
        x += size.width + margin;
    } else {
        m_imageView->setFrame({ margin, 0, 0, 0 });
    }
    double right = area.width() - margin;
    double width = std::max(0.0, right - x);
    switch (m_style) {
    case TableViewCellStyle::Default:
        m_textLabel->setFrame({ x, 0, width, area.height() });
        break;
    case TableViewCellStyle::Value1: {
        double detailWidth = std::min(width, m_detailTextLabel->sizeThatFits({ unlimited, unlimited }).width);
        m_detailTextLabel->setFrame({ right - detailWidth, 0, detailWidth, area.height() });
        double textWidth = std::min(m_textLabel->sizeThatFits({ unlimited, unlimited }).width,
            std::max(0.0, right - detailWidth - labelGap - x));
        m_textLabel->setFrame({ x, 0, textWidth, area.height() });
        break;
    }
    case TableViewCellStyle::Value2: {
        m_textLabel->setFrame({ x, 0, value2TextWidth, area.height() });
        double detailX = x + value2TextWidth + labelGap;
        m_detailTextLabel->setFrame({ detailX, 0, std::max(0.0, right - detailX), area.height() });
        break;
    }
    case TableViewCellStyle::Subtitle: {
        double textHeight = m_textLabel->sizeThatFits({ width, unlimited }).height;
        double detailHeight
            = m_detailTextLabel->text().empty() ? 0 : m_detailTextLabel->sizeThatFits({ width, unlimited }).height;
        double top = (area.height() - textHeight - detailHeight) / 2;
        m_textLabel->setFrame({ x, top, width, textHeight });
        m_detailTextLabel->setFrame({ x, top + textHeight, width, detailHeight });
        break;
    }
    }
}

} // namespace ui
