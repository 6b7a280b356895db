#include "kit/widgets/CheckBoxView.h"

#include "base/loop/MainThread.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/Label.h"

#include <cmath>
#include <iterator>

namespace kit {

namespace {
    constexpr double boxLeft = 5;
    constexpr double labelLeft = 32;
    constexpr double labelTop = 7;
    constexpr double labelHeight = 20;
    // How far beyond the control a tap still counts.
    constexpr double touchSlopLeft = 5;
    constexpr double touchSlopUp = 10;
    constexpr double pressedAlpha = 0.8;
    constexpr double disabledBoxAlpha = 0.6;

    const char* stylePrefix(int style)
    {
        static constexpr const char* prefixes[] = { "cb_box_", "cb_dark_", "cb_glossy_", "cb_green_", "cb_mono_" };
        return style >= 0 && style < static_cast<int>(std::size(prefixes)) ? prefixes[style] : nullptr;
    }
}

std::shared_ptr<CheckBoxView> CheckBoxView::make(const gfx::Rect& frame, int style, bool checked)
{
    BASE_ASSERT_MAIN_THREAD();
    auto box = std::make_shared<CheckBoxView>(Private(), frame, style, checked);
    box->addSubview(box->m_textLabel);
    box->addSubview(box->m_checkBoxImageView);
    return box;
}

CheckBoxView::CheckBoxView(Private, const gfx::Rect& frame, int style, bool checked)
    : ui::View({ frame.origin, { frame.width(), height } })
    , m_style(style)
    , m_checked(checked)
{
    BASE_ASSERT_MAIN_THREAD();
    setUserInteractionEnabled(true);
    setBackgroundColor(gfx::Color::clear());

    m_textLabel
        = std::make_shared<ui::Label>(gfx::Rect { labelLeft, labelTop, frame.width() - labelLeft, labelHeight });
    m_textLabel->setTextAlignment(gfx::TextAlignment::Left);
    m_textLabel->setBackgroundColor(gfx::Color::clear());
    m_textLabel->setFont(gfx::Font::named("Helvetica-Bold", 15));
    m_textLabel->setTextColor(gfx::Color::white());
    m_textLabel->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth);

    auto image = checkBoxImageForStyle(style, checked);
    m_checkBoxImageView = std::make_shared<ui::ImageView>(imageViewFrameForCheckBoxImage(image));
    m_checkBoxImageView->setImage(image);
    setEnabled(true);
}

std::shared_ptr<gfx::Image> CheckBoxView::checkBoxImageForStyle(int style, bool checked)
{
    BASE_ASSERT_MAIN_THREAD();
    const char* prefix = stylePrefix(style);
    if (!prefix)
        return nullptr;
    return gfx::Image::named(std::string(prefix) + (checked ? "on" : "off"));
}

gfx::Rect CheckBoxView::imageViewFrameForCheckBoxImage(const std::shared_ptr<gfx::Image>& image)
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::Size size = image ? image->size() : gfx::Size {};
    return { boxLeft, std::floor((height - size.height) / 2), size.width, size.height };
}

void CheckBoxView::updateCheckBoxImage() { m_checkBoxImageView->setImage(checkBoxImageForStyle(m_style, m_checked)); }

void CheckBoxView::setChecked(bool checked)
{
    BASE_ASSERT_MAIN_THREAD();
    m_checked = checked;
    updateCheckBoxImage();
}

void CheckBoxView::setEnabled(bool enabled)
{
    BASE_ASSERT_MAIN_THREAD();
    m_textLabel->setEnabled(enabled);
    m_enabled = enabled;
    m_checkBoxImageView->setAlpha(enabled ? 1.0 : disabledBoxAlpha);
}

void CheckBoxView::setText(std::string text) { m_textLabel->setText(std::move(text)); }

gfx::Rect CheckBoxView::touchArea() const
{
    gfx::Rect area = frame();
    return { area.minX() - touchSlopLeft, area.minY() - touchSlopUp, area.width() + touchSlopLeft,
        area.height() + touchSlopUp };
}

void CheckBoxView::touchesBegan(const ui::TouchSet& touches, const ui::Event* event)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_enabled)
        return;
    setAlpha(pressedAlpha);
    ui::View::touchesBegan(touches, event);
}

void CheckBoxView::touchesCancelled(const ui::TouchSet& touches, const ui::Event* event)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_enabled)
        return;
    setAlpha(1.0);
    ui::View::touchesCancelled(touches, event);
}

void CheckBoxView::touchesEnded(const ui::TouchSet& touches, const ui::Event* event)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_enabled)
        return;
    setAlpha(1.0);
    auto host = superview();
    if (host && !touches.empty() && touchArea().contains(touches.front()->locationInView(host.get()))) {
        m_checked = !m_checked;
        updateCheckBoxImage();
        reportChange();
    }
    ui::View::touchesEnded(touches, event);
}

void CheckBoxView::reportChange()
{
    if (auto target = m_delegate.lock(); target && m_stateChangedSelector)
        m_stateChangedSelector(target.get(), *this);
    else if (m_stateChangedBlock)
        m_stateChangedBlock(*this);
}

} // namespace kit
