#include "TouchFixture.h"

#include "base/loop/NotificationCenter.h"
#include "ui/controls/TextField.h"
#include "ui/input/Keyboard.h"

namespace {

using namespace std::chrono_literals;
using Log = std::vector<std::string>;

std::string describe(ui::TextRange range)
{
    return std::to_string(range.location) + "," + std::to_string(range.length);
}

class LoggingDelegate : public ui::TextFieldDelegate {
public:
    explicit LoggingDelegate(Log& log)
        : m_log(log)
    {
    }
    bool allowBegin { true };
    bool allowChange { true };

    bool textFieldShouldBeginEditing(ui::TextField&) override
    {
        m_log.push_back("should-begin");
        return allowBegin;
    }
    void textFieldDidBeginEditing(ui::TextField&) override { m_log.push_back("did-begin"); }
    bool textFieldShouldChangeCharacters(ui::TextField&, ui::TextRange range, const std::string& text) override
    {
        m_log.push_back("should-change " + describe(range) + " '" + text + "'");
        return allowChange;
    }
    void textFieldDidEndEditing(ui::TextField&) override { m_log.push_back("did-end"); }
    bool textFieldShouldReturn(ui::TextField& field) override
    {
        m_log.push_back("should-return");
        field.resignFirstResponder();
        return true;
    }

private:
    Log& m_log;
};

class TextFieldEditing : public test::TouchFixture {
protected:
    void SetUp() override
    {
        test::TouchFixture::SetUp();
        auto& center = base::NotificationCenter::defaultCenter();
        for (const char* name : { ui::Keyboard::willShowNotification, ui::Keyboard::willHideNotification }) {
            center.addObserver(
                name, nullptr,
                [this, name](const base::Notification& n) {
                    log.push_back(name);
                    transitions.push_back(*n.objectAs<ui::KeyboardTransition>());
                },
                this);
        }
        field = addView<ui::TextField>({ 20, 100, 200, 30 });
        delegate = std::make_shared<LoggingDelegate>(log);
        field->setDelegate(delegate);
        field->addAction([this](ui::Control&) { log.push_back("changed"); }, ui::ControlEvent::EditingChanged);
    }

    void TearDown() override
    {
        ui::Keyboard::shared().endEditing();
        base::NotificationCenter::defaultCenter().removeObservers(this);
        test::TouchFixture::TearDown();
    }

    void type(const std::string& text) { ui::Application::shared().inputHandler()->textInput(text); }
    void press(ui::KeyEvent::Key key)
    {
        ui::Application::shared().inputHandler()->key({ key, clock->now(), std::nullopt });
    }

    Log log;
    std::vector<ui::KeyboardTransition> transitions;
    std::shared_ptr<ui::TextField> field;
    std::shared_ptr<LoggingDelegate> delegate;
};

TEST_F(TextFieldEditing, DelegateHearsASessionInOrderAndTheKeyboardComesAndGoes)
{
    finger.tap({ 50, 115 });
    type("a");
    type("b");
    press(ui::KeyEvent::Key::Return);

    EXPECT_EQ(log,
        (Log { "should-begin", "did-begin", "KeyboardWillShow", "should-change 0,0 'a'", "changed",
            "should-change 1,0 'b'", "changed", "should-return", "did-end", "KeyboardWillHide" }));
    EXPECT_EQ(field->text(), "ab");
    ASSERT_EQ(transitions.size(), 2u);
    EXPECT_EQ(transitions[0].endFrame, (gfx::Rect { 0, 568 - 216, 320, 216 }));
    EXPECT_EQ(transitions[0].duration, ui::Keyboard::animationDuration);
    EXPECT_EQ(transitions[1].endFrame, (gfx::Rect { 0, 568, 320, 216 }));
    EXPECT_FALSE(ui::Keyboard::shared().isVisible());
}

TEST_F(TextFieldEditing, RefusalsKeepTheFieldAsItWas)
{
    delegate->allowBegin = false;
    finger.tap({ 50, 115 });
    EXPECT_FALSE(field->isEditing());
    EXPECT_FALSE(ui::Keyboard::shared().isVisible());

    delegate->allowBegin = true;
    delegate->allowChange = false;
    field->setText("12");
    ASSERT_TRUE(field->becomeFirstResponder());
    type("3");
    press(ui::KeyEvent::Key::Backspace);
    EXPECT_EQ(field->text(), "12");
    EXPECT_EQ(std::count(log.begin(), log.end(), "changed"), 0);
}

TEST_F(TextFieldEditing, MovingBetweenFieldsKeepsTheKeyboardUp)
{
    auto other = addView<ui::TextField>({ 20, 200, 200, 30 });
    other->setDelegate(delegate);
    finger.tap({ 50, 115 });
    finger.wait(1s).tap({ 50, 215 });
    EXPECT_EQ(log, (Log { "should-begin", "did-begin", "KeyboardWillShow", "should-begin", "did-end", "did-begin" }));
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(ui::Keyboard::shared().firstResponder(), other);
}

TEST_F(TextFieldEditing, CompositionChangesWithoutAskingAndIsOfferedWhenCommitted)
{
    field->setText("x");
    field->becomeFirstResponder();
    log.clear();
    ui::Keyboard::shared().setMarkedText("zh");
    ui::Keyboard::shared().setMarkedText("zho");
    EXPECT_EQ(field->text(), "xzho");
    EXPECT_TRUE(field->hasMarkedText());
    type("中");
    EXPECT_EQ(field->text(), "x中");
    EXPECT_FALSE(field->hasMarkedText());
    EXPECT_EQ(log, (Log { "changed", "changed", "should-change 1,3 '中'", "changed" }));
    EXPECT_EQ(field->selectedRange(), (ui::TextRange { 2, 0 }));

    press(ui::KeyEvent::Key::Backspace);
    EXPECT_EQ(field->text(), "x") << "one code point, not one byte";
}

TEST_F(TextFieldEditing, ClearButtonShowsWhileEditingAndClearsThroughTheDelegate)
{
    field->setClearButtonMode(ui::TextFieldViewMode::WhileEditing);
    field->setText("secret");
    EXPECT_FALSE(field->isClearButtonShown());
    field->becomeFirstResponder();
    EXPECT_TRUE(field->isClearButtonShown());
    log.clear();
    finger.tap({ 20 + 200 - 10, 115 });
    EXPECT_EQ(field->text(), "");
    EXPECT_EQ(log, (Log { "should-change 0,6 ''", "changed" }));
    EXPECT_FALSE(field->isClearButtonShown());
}

TEST_F(TextFieldEditing, SecureFieldsShowABulletPerCharacter)
{
    field->setSecureTextEntry(true);
    field->setText("中a");
    EXPECT_EQ(field->displayedText(), "\u2022\u2022");
    EXPECT_EQ(field->text(), "中a");
}

TEST_F(TextFieldEditing, LeavingTheWindowOrEndEditingResigns)
{
    field->becomeFirstResponder();
    EXPECT_FALSE(ui::Keyboard::shared().endEditing(addView<ui::View>({ 0, 300, 10, 10 }).get()));
    EXPECT_TRUE(ui::Keyboard::shared().endEditing(window.get()));
    EXPECT_FALSE(field->isEditing());

    field->becomeFirstResponder();
    field->removeFromSuperview();
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(log.back(), "KeyboardWillHide");

    auto loose = std::make_shared<ui::TextField>();
    loose->becomeFirstResponder();
    EXPECT_TRUE(ui::Keyboard::shared().isVisible());
    loose.reset();
    EXPECT_FALSE(ui::Keyboard::shared().isVisible()) << "a field that goes away while editing";
    EXPECT_EQ(log.back(), "KeyboardWillHide");
}

} // namespace
