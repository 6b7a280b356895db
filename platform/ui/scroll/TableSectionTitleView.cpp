#include "ui/scroll/TableSectionTitleView.h"

#include "base/loop/MainThread.h"
#include "ui/controls/Label.h"
#include "ui/scroll/TableView.h"

namespace ui {

namespace {

    constexpr double titleMargin = 15;

} // namespace

TableSectionTitleView::TableSectionTitleView(const gfx::Rect& frame, std::string title, TableViewStyle style)
    : View(frame)
    , m_label(std::make_shared<Label>())
{
    BASE_ASSERT_MAIN_THREAD();
    m_label->setText(std::move(title));
    if (style == TableViewStyle::Grouped) {
        m_label->setFont(gfx::Font::system(14));
        m_label->setTextColor(gfx::Color::fromWhite(0.43, 1));
    } else {
        m_label->setFont(gfx::Font::boldSystem(14));
        setBackgroundColor(gfx::Color::fromWhite(0.97, 1));
    }
    setAutoresizingMask(AutoresizingMask::FlexibleWidth);
}

// The label joins when the view does (a view cannot take subviews while it is being made).
void TableSectionTitleView::willMoveToSuperview(const std::shared_ptr<View>&)
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_label->superview().get() != this)
        addSubview(m_label);
}

void TableSectionTitleView::layoutSubviews()
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::Rect area = bounds();
    m_label->setFrame({ titleMargin, 0, std::max(0.0, area.width() - 2 * titleMargin), area.height() });
}

} // namespace ui
