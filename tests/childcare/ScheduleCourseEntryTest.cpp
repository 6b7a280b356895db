// The course entry on its own: the name is cut to six characters (never inside one, and only once an input
// method has committed), the time field takes no touch, the panel moves up while the name is edited, and Return in
// the name presses Done.
#include "base/ClockFixture.h"
#include "childcare/schedule/InputView.h"
#include "ui/controls/Button.h"
#include "ui/controls/TextField.h"
#include "ui/view/Screen.h"
#include "ui/view/Window.h"

namespace {

using namespace std::chrono_literals;

class CourseEntry : public test::ManualClockTest {
protected:
    void SetUp() override
    {
        ManualClockTest::SetUp();
        ui::Screen::main().setBounds(ui::Screen::defaultBounds);
        window->makeKeyAndVisible();
        window->addSubview(entry);
        ASSERT_TRUE(name().becomeFirstResponder());
        clock->advance(1s);
    }
    void TearDown() override
    {
        window.reset();
        clock->advance(1s);
        ManualClockTest::TearDown();
    }
    ui::TextField& name() { return *entry->txtCourseName(); }

    std::shared_ptr<ui::Window> window = std::make_shared<ui::Window>();
    std::shared_ptr<childcare::InputView> entry = childcare::InputView::make({ 53, 164, 213, 240 });
};

TEST_F(CourseEntry, TheNameKeepsItsFirstSixCharacters)
{
    name().insertText("Scienc");
    name().insertText("e");
    EXPECT_EQ(name().text(), "Scienc");
    name().setText("");
    name().insertText("数学与科学实验课");
    EXPECT_EQ(name().text(), "数学与科学实");
}

TEST_F(CourseEntry, AComposedNameIsCutOnlyOnceCommitted)
{
    name().insertText("音乐");
    name().setMarkedText("tiyuhuodong");
    EXPECT_EQ(name().text(), "音乐tiyuhuodong");
    name().unmarkText();
    EXPECT_EQ(name().text(), "音乐tiyu");
}

TEST_F(CourseEntry, TheTimeFieldTakesNoTouchAndTheNameLiftsThePanel)
{
    EXPECT_FALSE(entry->txtTime()->isUserInteractionEnabled());
    EXPECT_EQ(entry->txtTime()->text(), "00:00~00:00");
    EXPECT_EQ(name().returnKeyType(), ui::ReturnKeyType::Done);
    // The name field's top (55) + 32 lies 63 points below the panel's height less the keyboard's.
    EXPECT_DOUBLE_EQ(entry->frame().minY(), 164 - 63);
    // Return in the name, the entry's last field, presses Done, whose action the opener attaches.
    int done = 0;
    entry->btnDone()->addAction([&](ui::Control&) { ++done; }, ui::ControlEvent::TouchUpInside);
    name().insertText("\n");
    EXPECT_EQ(done, 1);
    ASSERT_TRUE(name().resignFirstResponder());
    clock->advance(1s);
    EXPECT_FALSE(name().isEditing());
    EXPECT_DOUBLE_EQ(entry->frame().minY(), 164);
}

} // namespace
