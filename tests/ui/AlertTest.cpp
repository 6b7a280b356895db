#include "TouchFixture.h"

#include "gfx/drawing/Context.h"
#include "ui/alerts/ActionSheet.h"
#include "ui/alerts/AlertView.h"
#include "ui/alerts/AlertWindow.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/controls/TextField.h"
#include "ui/input/Keyboard.h"

namespace {

using namespace std::chrono_literals;

class Recorder : public ui::AlertViewDelegate, public ui::ActionSheetDelegate {
public:
    std::vector<int> pressed;
    std::string typed;

    void alertViewClickedButtonAtIndex(ui::AlertView& alert, int index) override
    {
        pressed.push_back(index);
        if (auto field = alert.textFieldAtIndex(0))
            typed = field->text();
    }
    void actionSheetClickedButtonAtIndex(ui::ActionSheet&, int index) override { pressed.push_back(index); }
};

class Alerts : public test::TouchFixture {
protected:
    void SetUp() override
    {
        test::TouchFixture::SetUp();
        screen = addView({ 0, 0, 320, 568 });
        recorder = std::make_shared<Recorder>();
    }

    void press(const std::shared_ptr<ui::Button>& button)
    {
        ASSERT_TRUE(button);
        finger.wait(1s).tap(button->convertPointTo(button->bounds().center(), nullptr));
    }

    std::shared_ptr<test::RecordingView> screen;
    std::shared_ptr<Recorder> recorder;
};

TEST_F(Alerts, CancelIsButtonZeroAndTheDelegateHearsTheIndexPressed)
{
    auto alert = std::make_shared<ui::AlertView>(
        "prompt", "sure_factory", recorder, "cancel", std::vector<std::string> { "done" });
    EXPECT_EQ(alert->addButtonWithTitle("later"), 2);
    EXPECT_EQ(alert->cancelButtonIndex(), 0);
    EXPECT_EQ(alert->firstOtherButtonIndex(), 1);
    EXPECT_EQ(alert->buttonTitleAtIndex(1), "done");
    alert->show();
    EXPECT_TRUE(alert->isVisible());
    EXPECT_TRUE(window->isKeyWindow()) << "the alert's window does not become key";

    EXPECT_LT(alert->buttonAtIndex(1)->frame().minY(), alert->buttonAtIndex(0)->frame().minY())
        << "three buttons stack with cancel at the bottom";
    press(alert->buttonAtIndex(1));
    EXPECT_EQ(recorder->pressed, std::vector<int> { 1 });
    EXPECT_FALSE(alert->isVisible());
    EXPECT_TRUE(screen->phases.empty()) << "nothing reached the screen behind";

    auto noCancel = std::make_shared<ui::AlertView>(
        std::nullopt, "failure", recorder, std::nullopt, std::vector<std::string> { "done" });
    EXPECT_EQ(noCancel->cancelButtonIndex(), -1);
    noCancel->show();
    press(noCancel->buttonAtIndex(0));
    EXPECT_EQ(recorder->pressed, (std::vector<int> { 1, 0 }));
}

TEST_F(Alerts, AlertCoversTheScreenWithADimLayerAndTakesTouchesAroundIt)
{
    auto alert
        = std::make_shared<ui::AlertView>("prompt", "done?", recorder, "cancel", std::vector<std::string> { "done" });
    alert->show();
    auto alertWindow = std::dynamic_pointer_cast<ui::AlertWindow>(alert->window());
    ASSERT_TRUE(alertWindow);
    EXPECT_EQ(alertWindow->dimView()->backgroundColor(), gfx::Color::black().withAlpha(ui::AlertWindow::dimAlpha));
    EXPECT_EQ(ui::Application::shared().windows().back(), alertWindow);
    EXPECT_EQ(alert->center(), (gfx::Point { 160, 284 }));
    EXPECT_LT(alert->buttonAtIndex(0)->frame().minX(), alert->buttonAtIndex(1)->frame().minX())
        << "two buttons side by side, cancel on the left";

    finger.tap({ 10, 10 });
    EXPECT_TRUE(screen->phases.empty());
    EXPECT_TRUE(alert->isVisible());
    alert->dismissWithClickedButtonIndex(0, false);
    EXPECT_TRUE(recorder->pressed.empty()) << "dismissing in code tells nobody";
    finger.wait(1s).tap({ 10, 10 });
    EXPECT_EQ(screen->phases, (std::vector<std::string> { "began", "ended" }));
}

TEST_F(Alerts, LaterAlertsShowInFrontOfEarlierOnes)
{
    auto first = std::make_shared<ui::AlertView>(
        "one", std::nullopt, recorder, std::nullopt, std::vector<std::string> { "a" });
    auto second = std::make_shared<ui::AlertView>(
        "two", std::nullopt, recorder, std::nullopt, std::vector<std::string> { "b" });
    first->show();
    second->show();
    press(second->buttonAtIndex(0));
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(second->isVisible());
    first->dismissWithClickedButtonIndex(0, false);
}

TEST_F(Alerts, PlainTextInputAlertEditsItsFieldAndHandsTheTextToTheDelegate)
{
    auto alert = std::make_shared<ui::AlertView>(
        "prompt", "input_new_device_name", recorder, "cancel", std::vector<std::string> { "done" });
    alert->setAlertViewStyle(ui::AlertViewStyle::PlainTextInput);
    alert->show();
    ASSERT_TRUE(alert->textFieldAtIndex(0));
    EXPECT_TRUE(alert->textFieldAtIndex(0)->isEditing());
    EXPECT_TRUE(ui::Keyboard::shared().isVisible());
    EXPECT_LE(alert->frame().maxY(), 568 - ui::Keyboard::onScreenHeight);

    ui::Application::shared().inputHandler()->textInput("Watch");
    press(alert->buttonAtIndex(1));
    EXPECT_EQ(recorder->typed, "Watch");
    EXPECT_FALSE(ui::Keyboard::shared().isVisible());
}

TEST_F(Alerts, ThePromptsFieldDrawsItsTextAtTheMessagesSize)
{
    auto alert = std::make_shared<ui::AlertView>(
        "prompt", "0123456789", recorder, "cancel", std::vector<std::string> { "done" });
    alert->setAlertViewStyle(ui::AlertViewStyle::PlainTextInput);
    alert->show();
    auto field = alert->textFieldAtIndex(0);
    ASSERT_TRUE(field);
    field->setText("0123456789");
    field->resignFirstResponder();
    field->setBorderStyle(ui::TextBorderStyle::None);
    std::shared_ptr<ui::Label> message;
    for (const auto& subview : alert->subviews()) {
        if (auto label = std::dynamic_pointer_cast<ui::Label>(subview); label && label->text() == "0123456789")
            message = label;
    }
    ASSERT_TRUE(message);

    // The columns and rows of a view's drawing that hold ink: the extent of its digits.
    auto inkExtent = [](ui::View& view) {
        auto context = gfx::Context::makeBitmap(view.bounds().size, 2);
        view.setNeedsDisplay();
        view.layer()->renderInContext(*context);
        auto pixels = context->bitmap();
        int left = pixels->width, right = -1, top = pixels->height, bottom = -1;
        for (int y = 0; y < pixels->height; ++y) {
            for (int x = 0; x < pixels->width; ++x) {
                if ((pixels->pixel(x, y) >> 24) < 0x80)
                    continue;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
        return std::pair { right - left, bottom - top };
    };
    EXPECT_EQ(inkExtent(*field), inkExtent(*message));
    alert->dismissWithClickedButtonIndex(0, false);
}

TEST_F(Alerts, SheetNumbersDestructiveFirstAndCancelLast)
{
    auto sheet = std::make_shared<ui::ActionSheet>(
        "clear_data", recorder, "cancel", "clear", std::vector<std::string> { "keep" });
    EXPECT_EQ(sheet->destructiveButtonIndex(), 0);
    EXPECT_EQ(sheet->firstOtherButtonIndex(), 1);
    EXPECT_EQ(sheet->addButtonWithTitle("more"), 2);
    EXPECT_EQ(sheet->cancelButtonIndex(), 3);
    EXPECT_EQ(sheet->buttonTitleAtIndex(3), "cancel");
    sheet->showInView(screen);
    EXPECT_EQ(sheet->frame().maxY(), 568 - ui::ActionSheet::margin);

    finger.tap({ 160, 20 });
    EXPECT_TRUE(sheet->isVisible()) << "a tap on the dim layer does nothing";
    press(sheet->buttonAtIndex(3));
    press(sheet->buttonAtIndex(0));
    EXPECT_EQ(recorder->pressed, std::vector<int> { 3 });
    EXPECT_FALSE(sheet->isVisible());

    auto photo = std::make_shared<ui::ActionSheet>(
        std::nullopt, recorder, "cancel", std::nullopt, std::vector<std::string> { "take_photo", "choose_photo" });
    photo->showInView(screen);
    press(photo->buttonAtIndex(1));
    EXPECT_EQ(recorder->pressed, (std::vector<int> { 3, 1 }));
    EXPECT_EQ(photo->cancelButtonIndex(), 2);
}

} // namespace
