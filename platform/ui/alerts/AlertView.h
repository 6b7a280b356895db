// ui::AlertView: a modal message with a title, a message, buttons and, in the text-input styles, one text
// field. Buttons are numbered in the order they are given: the cancel button (when there is one) is 0, the
// other buttons follow, and buttons added later come after them. show() puts the alert in its own window
// over a dim layer, centred on the screen (above the keyboard when it has a text field, which then begins
// editing); alerts shown while another is up go in front of it. A tap on a button tells the delegate the
// button's index and then dismisses the alert. dismissWithClickedButtonIndex dismisses without telling the
// delegate. One button is emphasised (drawn bold, and pressed by Return): in the text-input styles the first
// other button, which takes what was typed; otherwise the cancel button, so that Return never confirms what
// an alert asks to be sure of. The alert is kept alive while shown. Main thread.
//
//   auto alert = std::make_shared<ui::AlertView>("prompt", "input_new_device_name", weak_from_this(), "cancel",
//       std::vector<std::string> { "done" });
//   alert->setAlertViewStyle(ui::AlertViewStyle::PlainTextInput);
//   alert->setTag(77);
//   alert->show();
#pragma once

#include "ui/view/View.h"

#include <optional>
#include <string>
#include <vector>

namespace ui {

class AlertView;
class AlertWindow;
class Button;
class Label;
class TextField;

enum class AlertViewStyle { Default = 0, SecureTextInput = 1, PlainTextInput = 2 };

class AlertViewDelegate {
public:
    virtual ~AlertViewDelegate() = default;
    virtual void alertViewClickedButtonAtIndex(AlertView&, int /*buttonIndex*/) { }
};

class AlertView : public View {
public:
    static constexpr double width = 270;
    static constexpr double buttonHeight = 44;

    AlertView(std::optional<std::string> title, std::optional<std::string> message,
        std::weak_ptr<AlertViewDelegate> delegate, std::optional<std::string> cancelButtonTitle,
        std::vector<std::string> otherButtonTitles = {});

    const std::optional<std::string>& title() const { return m_title; }
    void setTitle(std::optional<std::string> title) { m_title = std::move(title); }
    const std::optional<std::string>& message() const { return m_message; }
    void setMessage(std::optional<std::string> message) { m_message = std::move(message); }
    std::weak_ptr<AlertViewDelegate> delegate() const { return m_delegate; }
    void setDelegate(std::weak_ptr<AlertViewDelegate> delegate) { m_delegate = std::move(delegate); }

    // The new button's index.
    int addButtonWithTitle(std::string title);
    int numberOfButtons() const { return static_cast<int>(m_buttonTitles.size()); }
    // Empty text for an index out of range.
    std::string buttonTitleAtIndex(int index) const;
    // -1 without a cancel button.
    int cancelButtonIndex() const { return m_cancelButtonIndex; }
    // -1 without other buttons.
    int firstOtherButtonIndex() const;
    // The button drawn emphasised (bold title): in the text-input styles the first other button where there
    // is one, else the cancel button; -1 without either.
    int emphasisedButtonIndex() const;

    AlertViewStyle alertViewStyle() const { return m_style; }
    void setAlertViewStyle(AlertViewStyle style);
    // The text field of the text-input styles (index 0), else nullptr.
    std::shared_ptr<TextField> textFieldAtIndex(size_t index) const;

    bool isVisible() const;
    void show();
    void dismissWithClickedButtonIndex(int index, bool animated);

    // The button drawn for an index, while the alert is shown; for tests and hosts.
    std::shared_ptr<Button> buttonAtIndex(int index) const;

    // While shown, Escape answers as a tap on the cancel button would, and Return as a tap on the emphasised
    // button would (each does nothing without one).
    bool performEscape() override;
    bool performReturn() override;

private:
    void buttonPressed(int index);
    // Presses the button at `index` while the alert is shown; whether it did.
    bool pressWhileShown(int index);
    void build();

    std::optional<std::string> m_title;
    std::optional<std::string> m_message;
    std::weak_ptr<AlertViewDelegate> m_delegate;
    std::vector<std::string> m_buttonTitles;
    int m_cancelButtonIndex { -1 };
    AlertViewStyle m_style { AlertViewStyle::Default };
    std::shared_ptr<TextField> m_textField;
    std::vector<std::shared_ptr<Button>> m_buttons;
    std::shared_ptr<AlertWindow> m_window;
};

} // namespace ui
