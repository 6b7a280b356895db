#include "kit/widgets/LoadingCell.h"

#include "base/loop/MainThread.h"
#include "ui/controls/ActivityIndicatorView.h"
#include "ui/controls/Label.h"

namespace kit {

LoadingCell::LoadingCell()
    : ui::TableViewCell(ui::TableViewCellStyle::Default, cellIdentifier)
{
    BASE_ASSERT_MAIN_THREAD();
    setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    m_lbl = std::make_shared<ui::Label>();
    m_lbl->setFont(gfx::Font::system(15));
    m_lbl->setTextColor(gfx::Color::gray());
    m_lbl->setTextAlignment(gfx::TextAlignment::Center);
    m_lbl->setBackgroundColor(gfx::Color::clear());
    m_loading = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::Gray);
    contentView()->addSubview(m_lbl);
    contentView()->addSubview(m_loading);
}

void LoadingCell::layoutSubviews()
{
    BASE_ASSERT_MAIN_THREAD();
    ui::TableViewCell::layoutSubviews();
    gfx::Rect area = contentView()->bounds();
    m_lbl->setFrame(area);
    m_loading->setCenter({ margin + m_loading->bounds().width() / 2, area.midY() });
}

} // namespace kit
