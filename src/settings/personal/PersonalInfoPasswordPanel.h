// settings::PersonalInfoPasswordPanel: the settings centre's password panel (PasswordView), shown in the
// shared modal presenter: the old password, the new one and its confirmation, each with its caption, and
// the buttons "done" (tag 11, submits) and "cancel". Everything sits on one white inner view (JiaRenView)
// under a clear margin; the settings centre lifts the inner view while a field is edited, and answers Return in a
// field (the next field, or done from the last). The panel forgets
// the typed passwords when it leaves the screen (Cancel, Escape, a click beside it), except after a change
// was sent, so that a refused change can be tried again; an accepted change forgets them then. Main thread; made with
// make().
//
//   auto panel = settings::PersonalInfoPasswordPanel::make(owner, [weak](ui::Button& button) { ... });
//   kit::ModalPresenter::sharedInstance()->showWithContentView(panel, true);
#pragma once

#include "ui/view/View.h"

#include <functional>
#include <memory>

namespace ui {
class Button;
class Label;
class TextField;
class TextFieldDelegate;
}

namespace settings {

class PersonalInfoPasswordPanel : public ui::View {
public:
    static constexpr int submitTag = 11;
    static constexpr int cancelTag = 12;
    // The panel's inner view rests this far below the panel's top, so that it can rise while a field is
    // edited without leaving the panel.
    static constexpr double restingTop = 70;
    static constexpr gfx::Size size { 270, 232 };

    using ButtonAction = std::function<void(ui::Button& button)>;

    static std::shared_ptr<PersonalInfoPasswordPanel> make(
        const std::weak_ptr<ui::TextFieldDelegate>& fieldDelegate, ButtonAction buttonAction);
    PersonalInfoPasswordPanel();

    const std::shared_ptr<ui::View>& JiaRenView() const { return m_jiaRenView; }
    const std::shared_ptr<ui::TextField>& OldPasswordNum() const { return m_oldPassword; }
    const std::shared_ptr<ui::TextField>& NewNum() const { return m_newPassword; }
    const std::shared_ptr<ui::TextField>& SureNum() const { return m_confirmation; }
    const std::shared_ptr<ui::Button>& done() const { return m_done; }
    const std::shared_ptr<ui::Button>& cancel() const { return m_cancel; }

    // The next close keeps the typed passwords.
    void keepTextsThroughNextClose() { m_keepsTexts = true; }
    void forgetTexts();
    void willMoveToWindow(const std::shared_ptr<ui::Window>& newWindow) override;

private:
    std::shared_ptr<ui::TextField> addField(
        double y, const char* captionKey, const char* placeholderKey, const std::weak_ptr<ui::TextFieldDelegate>& d);
    std::shared_ptr<ui::Button> addButton(double x, const char* titleKey, int tag, ButtonAction action);

    std::shared_ptr<ui::View> m_jiaRenView;
    std::shared_ptr<ui::TextField> m_oldPassword;
    std::shared_ptr<ui::TextField> m_newPassword;
    std::shared_ptr<ui::TextField> m_confirmation;
    std::shared_ptr<ui::Button> m_done;
    std::shared_ptr<ui::Button> m_cancel;
    bool m_keepsTexts { false };
};

} // namespace settings
