#include "settings/personal/PersonalInfoPasswordPanel.h"

#include "base/text/Localization.h"
#include "base/loop/MainThread.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/controls/TextField.h"
#include "ui/controls/TextFieldDelegate.h"

#include <utility>

namespace settings {

namespace {

    constexpr gfx::Color buttonGreen = gfx::Color::rgb(0.52, 0.8, 0.05);
    constexpr double captionWidth = 100;
    constexpr double rowHeight = 44;
    constexpr double firstRowY = 20;

} // namespace

std::shared_ptr<PersonalInfoPasswordPanel> PersonalInfoPasswordPanel::make(
    const std::weak_ptr<ui::TextFieldDelegate>& fieldDelegate, ButtonAction buttonAction)
{
    BASE_ASSERT_MAIN_THREAD();
    auto panel = std::make_shared<PersonalInfoPasswordPanel>();
    panel->addSubview(panel->m_jiaRenView);
    panel->m_oldPassword = panel->addField(firstRowY, "old_password", "please_input_old_password", fieldDelegate);
    panel->m_newPassword
        = panel->addField(firstRowY + rowHeight, "new_password", "please_input_new_password", fieldDelegate);
    panel->m_confirmation
        = panel->addField(firstRowY + 2 * rowHeight, "reconfirmed", "please_input_new_password_again", fieldDelegate);
    panel->m_cancel = panel->addButton(16, "cancel", cancelTag, buttonAction);
    panel->m_done = panel->addButton(size.width / 2 + 8, "done", submitTag, std::move(buttonAction));
    return panel;
}

PersonalInfoPasswordPanel::PersonalInfoPasswordPanel()
    : ui::View({ 0, 0, size.width, restingTop + size.height })
{
    BASE_ASSERT_MAIN_THREAD();
    setBackgroundColor(gfx::Color::clear());
    m_jiaRenView = std::make_shared<ui::View>(gfx::Rect { 0, restingTop, size.width, size.height });
    m_jiaRenView->setBackgroundColor(gfx::Color::white());
    m_jiaRenView->layer()->setCornerRadius(8);
}

void PersonalInfoPasswordPanel::willMoveToWindow(const std::shared_ptr<ui::Window>& newWindow)
{
    if (newWindow || std::exchange(m_keepsTexts, false))
        return;
    forgetTexts();
}

void PersonalInfoPasswordPanel::forgetTexts()
{
    for (const auto* field : { &m_oldPassword, &m_newPassword, &m_confirmation }) {
        if (*field)
            (*field)->setText("");
    }
}

std::shared_ptr<ui::TextField> PersonalInfoPasswordPanel::addField(double y, const char* captionKey,
    const char* placeholderKey, const std::weak_ptr<ui::TextFieldDelegate>& fieldDelegate)
{
    auto caption = std::make_shared<ui::Label>(gfx::Rect { 12, y, captionWidth, 32 });
    caption->setFont(gfx::Font::system(12));
    caption->setTextColor(gfx::Color::darkGray());
    caption->setText(base::localized(captionKey));
    m_jiaRenView->addSubview(caption);

    auto field
        = std::make_shared<ui::TextField>(gfx::Rect { 12 + captionWidth, y, size.width - captionWidth - 24, 32 });
    field->setBorderStyle(ui::TextBorderStyle::RoundedRect);
    field->setFont(gfx::Font::system(13));
    field->setSecureTextEntry(true);
    field->setPlaceholder(base::localized(placeholderKey));
    field->setDelegate(fieldDelegate);
    m_jiaRenView->addSubview(field);
    return field;
}

std::shared_ptr<ui::Button> PersonalInfoPasswordPanel::addButton(
    double x, const char* titleKey, int tag, ButtonAction action)
{
    auto button = std::make_shared<ui::Button>(gfx::Rect { x, size.height - 60, size.width / 2 - 24, 40 });
    button->setTag(tag);
    button->setTitle(base::localized(titleKey), ui::ControlState::Normal);
    button->setTitleColor(gfx::Color::white(), ui::ControlState::Normal);
    button->setBackgroundColor(tag == submitTag ? buttonGreen : gfx::Color::gray());
    button->layer()->setCornerRadius(6);
    button->addAction(
        [action = std::move(action)](ui::Control& sender) {
            if (action)
                action(static_cast<ui::Button&>(sender));
        },
        ui::ControlEvent::TouchUpInside);
    m_jiaRenView->addSubview(button);
    return button;
}

} // namespace settings
