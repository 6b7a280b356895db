#include "TouchFixture.h"

#include "ui/controls/TextField.h"
#include "ui/input/Keyboard.h"
#include "ui/input/Pasteboard.h"

namespace {

using namespace std::chrono_literals;
using Key = ui::KeyEvent::Key;

// Refuses to begin editing when told to, and writes down the changes it is offered.
class GateDelegate : public ui::TextFieldDelegate {
public:
    bool allowBegin { true };
    std::vector<std::string> offered;

    bool textFieldShouldBeginEditing(ui::TextField&) override { return allowBegin; }
    bool textFieldShouldChangeCharacters(ui::TextField&, ui::TextRange range, const std::string& text) override
    {
        offered.push_back(std::to_string(range.location) + "," + std::to_string(range.length) + " '" + text + "'");
        return true;
    }
};

class DesktopEditing : public test::TouchFixture {
protected:
    void TearDown() override
    {
        ui::Keyboard::shared().endEditing();
        test::TouchFixture::TearDown();
    }

    std::shared_ptr<ui::TextField> field(gfx::Rect frame, std::string text = {})
    {
        auto made = addView<ui::TextField>(frame);
        made->setText(std::move(text));
        return made;
    }
    void type(const std::string& text) { ui::Application::shared().inputHandler()->textInput(text); }
    void press(Key key) { ui::Application::shared().inputHandler()->key({ key, clock->now(), std::nullopt }); }
    static std::shared_ptr<ui::TextField> editing() { return ui::Keyboard::shared().firstResponder(); }
};

TEST_F(DesktopEditing, ALongTextScrollsToKeepTheCaretInsideTheField)
{
    auto name = field({ 20, 100, 80, 30 });
    ASSERT_TRUE(name->becomeFirstResponder());
    type("abcdefghijklmnopqrstuvwxyz0123456789");
    gfx::Rect inside = name->textRectForBounds(name->bounds());

    EXPECT_GT(name->scrollOffset(), 0);
    EXPECT_GE(name->caretRect().minX(), inside.minX());
    EXPECT_LE(name->caretRect().maxX(), inside.maxX());

    press(Key::Home);
    EXPECT_EQ(name->scrollOffset(), 0);
    EXPECT_EQ(name->caretRect().minX(), inside.minX());

    // Moving right within the visible part does not scroll; past its edge scrolls by as little as it takes.
    press(Key::Right);
    EXPECT_EQ(name->scrollOffset(), 0);
    press(Key::End);
    EXPECT_NEAR(name->caretRect().maxX(), inside.maxX(), 1e-9);

    // Deleting until the text fits brings it back to its start.
    press(Key::SelectAll);
    press(Key::Backspace);
    type("ab");
    EXPECT_EQ(name->scrollOffset(), 0);
}

TEST_F(DesktopEditing, ASecureFieldScrollsByItsBullets)
{
    auto password = field({ 20, 100, 60, 30 }, "");
    password->setSecureTextEntry(true);
    ASSERT_TRUE(password->becomeFirstResponder());
    type("correct horse battery staple");
    gfx::Rect inside = password->textRectForBounds(password->bounds());
    EXPECT_GT(password->scrollOffset(), 0);
    EXPECT_LE(password->caretRect().maxX(), inside.maxX());
}

TEST_F(DesktopEditing, TheCaretBlinksWhileEditingAndShowsAfterEachChange)
{
    auto name = field({ 20, 100, 200, 30 });
    ASSERT_TRUE(name->becomeFirstResponder());
    EXPECT_TRUE(name->isCaretShown());
    clock->advance(ui::TextField::caretBlinkInterval);
    EXPECT_FALSE(name->isCaretShown());
    clock->advance(ui::TextField::caretBlinkInterval);
    EXPECT_TRUE(name->isCaretShown());
    clock->advance(ui::TextField::caretBlinkInterval);
    EXPECT_FALSE(name->isCaretShown());

    type("a");
    EXPECT_TRUE(name->isCaretShown());
    clock->advance(0.4s);
    EXPECT_TRUE(name->isCaretShown());
    clock->advance(0.2s);
    EXPECT_FALSE(name->isCaretShown());

    name->resignFirstResponder();
    clock->advance(ui::TextField::caretBlinkInterval * 3);
    EXPECT_TRUE(name->isCaretShown());
}

TEST_F(DesktopEditing, ClipboardKeysCopyCutAndPasteThroughTheDelegate)
{
    auto delegate = std::make_shared<GateDelegate>();
    auto from = field({ 20, 100, 200, 30 }, "LW3600000001");
    auto to = field({ 20, 200, 200, 30 }, "id:");
    to->setDelegate(delegate);
    ui::Pasteboard::general().setString("before");

    ASSERT_TRUE(from->becomeFirstResponder());
    press(Key::Copy);
    EXPECT_EQ(ui::Pasteboard::general().string(), "before") << "nothing selected, nothing copied";
    press(Key::SelectAll);
    EXPECT_EQ(from->selectedRange().length, 12u);
    press(Key::Copy);
    EXPECT_EQ(ui::Pasteboard::general().string(), "LW3600000001");
    from->setSelectedRange({ 8, 4 });
    press(Key::Cut);
    EXPECT_EQ(from->text(), "LW360000");
    EXPECT_EQ(ui::Pasteboard::general().string(), "0001");

    ASSERT_TRUE(to->becomeFirstResponder());
    ui::Pasteboard::general().setString("two\nlines");
    press(Key::Paste);
    EXPECT_EQ(to->text(), "id:two lines");
    EXPECT_EQ(delegate->offered, (std::vector<std::string> { "3,0 'two lines'" }));
}

TEST_F(DesktopEditing, ASecureFieldTakesAPasteButGivesNothingToTheClipboard)
{
    auto password = field({ 20, 100, 200, 30 }, "hunter2");
    password->setSecureTextEntry(true);
    ui::Pasteboard::general().setString("s3cret");
    ASSERT_TRUE(password->becomeFirstResponder());
    press(Key::SelectAll);
    press(Key::Copy);
    press(Key::Cut);
    EXPECT_EQ(password->text(), "hunter2");
    EXPECT_EQ(ui::Pasteboard::general().string(), "s3cret");
    press(Key::Paste);
    EXPECT_EQ(password->text(), "s3cret");
}

TEST_F(DesktopEditing, TabMovesThroughTheEditableFieldsInReadingOrderAndWraps)
{
    auto bottom = field({ 20, 300, 200, 30 });
    auto right = field({ 170, 100, 100, 30 });
    auto left = field({ 20, 100, 100, 30 });
    auto hidden = field({ 20, 200, 200, 30 });
    hidden->setHidden(true);
    auto disabled = field({ 20, 250, 200, 30 });
    disabled->setEnabled(false);

    ASSERT_TRUE(left->becomeFirstResponder());
    press(Key::Tab);
    EXPECT_EQ(editing(), right);
    press(Key::Tab);
    EXPECT_EQ(editing(), bottom);
    press(Key::Tab);
    EXPECT_EQ(editing(), left);
    press(Key::BackTab);
    EXPECT_EQ(editing(), bottom);
    EXPECT_FALSE(left->isEditing());
    EXPECT_TRUE(ui::Keyboard::shared().isVisible());
}

TEST_F(DesktopEditing, TabPassesOverAFieldThatRefusesAndStaysWhenNoneTakesIt)
{
    auto delegate = std::make_shared<GateDelegate>();
    auto first = field({ 20, 100, 200, 30 });
    auto refusing = field({ 20, 200, 200, 30 });
    refusing->setDelegate(delegate);
    auto last = field({ 20, 300, 200, 30 });

    ASSERT_TRUE(first->becomeFirstResponder());
    delegate->allowBegin = false;
    press(Key::Tab);
    EXPECT_EQ(editing(), last);

    last->removeFromSuperview();
    ASSERT_TRUE(first->becomeFirstResponder());
    press(Key::Tab);
    EXPECT_EQ(editing(), first);
}

} // namespace
