// ui::ActionSheet: a set of choices that slides up from the bottom of the screen over a dim layer: an
// optional title, a destructive button (drawn red), other buttons and, apart below them, a cancel button.
// Buttons are numbered top to bottom as they are drawn: the destructive button (when there is one) is 0,
// the other buttons follow, buttons added later after them, and the cancel button comes last. A tap on a
// button tells the delegate the button's index and then dismisses the sheet; a tap on the dim layer does
// nothing. The sheet is shown in its own window and kept alive while shown. Main thread.
//
//   auto sheet = std::make_shared<ui::ActionSheet>(std::nullopt, weak_from_this(), "cancel", std::nullopt,
//       std::vector<std::string> { "take_photo", "choose_photo" });
//   sheet->showInView(view());   // take_photo 0, choose_photo 1, cancel 2
#pragma once

#include "ui/view/View.h"

#include <optional>
#include <string>
#include <vector>

namespace ui {

class ActionSheet;
class AlertWindow;
class Button;

class ActionSheetDelegate {
public:
    virtual ~ActionSheetDelegate() = default;
    virtual void actionSheetClickedButtonAtIndex(ActionSheet&, int /*buttonIndex*/) { }
};

class ActionSheet : public View {
public:
    static constexpr double buttonHeight = 57;
    static constexpr double margin = 8;

    ActionSheet(std::optional<std::string> title, std::weak_ptr<ActionSheetDelegate> delegate,
        std::optional<std::string> cancelButtonTitle, std::optional<std::string> destructiveButtonTitle,
        std::vector<std::string> otherButtonTitles = {});

    const std::optional<std::string>& title() const { return m_title; }
    std::weak_ptr<ActionSheetDelegate> delegate() const { return m_delegate; }
    void setDelegate(std::weak_ptr<ActionSheetDelegate> delegate) { m_delegate = std::move(delegate); }

    // The new button's index (the cancel button moves after it).
    int addButtonWithTitle(std::string title);
    int numberOfButtons() const;
    std::string buttonTitleAtIndex(int index) const;
    // -1 when there is no such button.
    int cancelButtonIndex() const;
    int destructiveButtonIndex() const { return m_destructive ? 0 : -1; }
    int firstOtherButtonIndex() const;
    // The button drawn emphasised (bold title): the cancel button, -1 without one.
    int emphasisedButtonIndex() const { return cancelButtonIndex(); }

    bool isVisible() const { return m_window != nullptr; }
    // The sheet covers the whole screen's width whatever the view.
    void showInView(const std::shared_ptr<View>& view);
    void dismissWithClickedButtonIndex(int index, bool animated);

    std::shared_ptr<Button> buttonAtIndex(int index) const;

    // While shown, Escape answers as a tap on the cancel button would, and Return as a tap on the emphasised
    // button would (each does nothing without one).
    bool performEscape() override;
    bool performReturn() override;

private:
    void buttonPressed(int index);
    // Presses the button at `index` while the sheet is shown; whether it did.
    bool pressWhileShown(int index);
    void build();

    std::optional<std::string> m_title;
    std::weak_ptr<ActionSheetDelegate> m_delegate;
    std::optional<std::string> m_cancel;
    std::optional<std::string> m_destructive;
    std::vector<std::string> m_others;
    std::vector<std::shared_ptr<Button>> m_buttons;
    std::shared_ptr<AlertWindow> m_window;
};

} // namespace ui
