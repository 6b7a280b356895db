// test::shownAlert: the alert on screen, if any, for tests of code that puts up alerts (a screen, a notice
// of the core); test::returnAnswersTheEmphasisedButton: how a Return answers the alert or sheet in front, and
// that the button it presses is the one it should: the one that takes the typed text in a prompt, the
// cancel button on every other alert and sheet.
// Header only, so that a test binary without the screen fixture can use it. Main thread.
#pragma once

#include "ui/alerts/ActionSheet.h"
#include "ui/alerts/AlertView.h"
#include "ui/alerts/AlertWindow.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/view/Application.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace test {

inline std::shared_ptr<ui::AlertView> shownAlert()
{
    for (const auto& window : ui::Application::shared().windows()) {
        auto alertWindow = std::dynamic_pointer_cast<ui::AlertWindow>(window);
        if (alertWindow && alertWindow->isShown())
            return std::dynamic_pointer_cast<ui::AlertView>(alertWindow->panel());
    }
    return nullptr;
}

namespace detail {

    // Stands between an alert or a sheet and its delegate: notes the index of the answer and passes it on, so
    // the screen acts on it as it would.
    class AnswerRecorder : public ui::AlertViewDelegate, public ui::ActionSheetDelegate {
    public:
        void alertViewClickedButtonAtIndex(ui::AlertView& alert, int index) override
        {
            answered = index;
            if (auto delegate = alertDelegate.lock())
                delegate->alertViewClickedButtonAtIndex(alert, index);
        }
        void actionSheetClickedButtonAtIndex(ui::ActionSheet& sheet, int index) override
        {
            answered = index;
            if (auto delegate = sheetDelegate.lock())
                delegate->actionSheetClickedButtonAtIndex(sheet, index);
        }

        std::weak_ptr<ui::AlertViewDelegate> alertDelegate;
        std::weak_ptr<ui::ActionSheetDelegate> sheetDelegate;
        std::optional<int> answered;
    };

    // The index of the button drawn with a bold title, if any.
    template <typename Panel> std::optional<int> emphasisedButton(const Panel& panel)
    {
        for (int index = 0; index < panel.numberOfButtons(); ++index) {
            auto button = panel.buttonAtIndex(index);
            if (button && button->titleLabel()->font().isBold())
                return index;
        }
        return std::nullopt;
    }

    // The button Return is meant to press: in a prompt that takes text, its first button after the cancel
    // button (what confirms the text); elsewhere the cancel button, so that Return never confirms what an
    // alert asks to be sure of.
    inline std::optional<int> returnTarget(const ui::AlertView& alert)
    {
        int target = alert.cancelButtonIndex();
        if (alert.alertViewStyle() != ui::AlertViewStyle::Default && alert.firstOtherButtonIndex() >= 0)
            target = alert.firstOtherButtonIndex();
        return target >= 0 ? std::optional<int>(target) : std::nullopt;
    }
    inline std::optional<int> returnTarget(const ui::ActionSheet& sheet)
    {
        int target = sheet.cancelButtonIndex();
        return target >= 0 ? std::optional<int>(target) : std::nullopt;
    }

} // namespace detail

// Presses Return (`press`) on the alert or sheet in front: success when the button drawn emphasised is the
// one Return is meant to press (see returnTarget) and Return answered with it, or with nothing where no
// button is. The answer still reaches the screen, which then does what a tap on that button does.
inline ::testing::AssertionResult returnAnswersTheEmphasisedButton(const std::function<void()>& press)
{
    std::shared_ptr<ui::View> front;
    for (const auto& window : ui::Application::shared().windows()) {
        auto alertWindow = std::dynamic_pointer_cast<ui::AlertWindow>(window);
        if (alertWindow && alertWindow->isShown())
            front = alertWindow->panel();
    }
    auto recorder = std::make_shared<detail::AnswerRecorder>();
    std::optional<int> emphasised;
    std::optional<int> target;
    if (auto alert = std::dynamic_pointer_cast<ui::AlertView>(front)) {
        recorder->alertDelegate = alert->delegate();
        alert->setDelegate(recorder);
        emphasised = detail::emphasisedButton(*alert);
        target = detail::returnTarget(*alert);
    } else if (auto sheet = std::dynamic_pointer_cast<ui::ActionSheet>(front)) {
        recorder->sheetDelegate = sheet->delegate();
        sheet->setDelegate(recorder);
        emphasised = detail::emphasisedButton(*sheet);
        target = detail::returnTarget(*sheet);
    } else {
        return ::testing::AssertionFailure() << "no alert or sheet on screen";
    }
    if (emphasised != target) {
        return ::testing::AssertionFailure() << "the button drawn emphasised is " << emphasised.value_or(-1)
                                             << ", Return is meant to press " << target.value_or(-1);
    }
    press();
    if (recorder->answered == emphasised)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "Return answered with button " << recorder->answered.value_or(-1)
                                         << ", the emphasised one is " << emphasised.value_or(-1);
}

} // namespace test
