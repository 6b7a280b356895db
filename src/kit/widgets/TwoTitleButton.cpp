#include "kit/widgets/TwoTitleButton.h"

#include "base/loop/MainThread.h"

namespace kit {

namespace {
    std::shared_ptr<ui::Label> smallCentredLabel()
    {
        auto label = std::make_shared<ui::Label>();
        label->setTextAlignment(gfx::TextAlignment::Center);
        label->setFont(gfx::Font::system(10));
        label->setBackgroundColor(gfx::Color::clear());
        return label;
    }
}

std::shared_ptr<TwoTitleButton> TwoTitleButton::make(const gfx::Rect& frame)
{
    BASE_ASSERT_MAIN_THREAD();
    auto button = std::make_shared<TwoTitleButton>(Private(), frame);
    button->initViews();
    return button;
}

TwoTitleButton::TwoTitleButton(Private, const gfx::Rect& frame)
    : ui::Button(frame)
{
    BASE_ASSERT_MAIN_THREAD();
}

void TwoTitleButton::initViews()
{
    layer()->setBorderColor(gfx::Color::rgb(0.56, 0.56, 0.74, 1));
    layer()->setBorderWidth(0.3f);
    layer()->setMasksToBounds(true);
    setBackgroundColor(gfx::Color::clear());
    m_titleLabel = smallCentredLabel();
    m_subtitleLabel = smallCentredLabel();
    addSubview(m_titleLabel);
    addSubview(m_subtitleLabel);
}

void TwoTitleButton::layoutSubviews()
{
    BASE_ASSERT_MAIN_THREAD();
    ui::Button::layoutSubviews();
    double width = bounds().width();
    double half = bounds().height() / 2;
    gfx::Color color = m_textColor.value_or(gfx::Color::black());
    m_titleLabel->setFrame({ 0, 3, width, half });
    m_titleLabel->setText(m_title);
    m_titleLabel->setTextColor(color);
    m_subtitleLabel->setFrame({ 0, half, width, half });
    m_subtitleLabel->setText(m_subtitle);
    m_subtitleLabel->setTextColor(color);
}

} // namespace kit
