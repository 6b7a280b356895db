// Naming lessons in the class schedule: marking and opening a free cell, opening a course, Done and Cancel,
// one entry at a time, and the whole timetable sent with each change (Saturday's course included).
#include "ScheduleScreenFixture.h"

#include "ui/controls/Button.h"
#include "ui/controls/TextField.h"

namespace {

class ScheduleEdit : public test::ScheduleTest {
protected:
    size_t openEntries() const
    {
        size_t count = 0;
        for (const auto& subview : schedule()->view()->subviews())
            count += std::dynamic_pointer_cast<childcare::InputView>(subview) ? 1 : 0;
        return count;
    }
};

TEST_F(ScheduleEdit, AFirstTapMarksAFreeCellASecondOpensItAndAnotherTapMovesTheMark)
{
    auto free = schedule()->dayCell(1, 6);
    tap(free);
    EXPECT_EQ(schedule()->clickTag(), 16);
    EXPECT_TRUE(free->isSelected());
    EXPECT_EQ(free->currentImage(), gfx::Image::named("add_class"));
    EXPECT_FALSE(schedule()->inputView());

    auto other = schedule()->dayCell(3, 4);
    tap(other);
    EXPECT_EQ(schedule()->clickTag(), 34);
    EXPECT_FALSE(free->isSelected());
    EXPECT_EQ(free->currentImage(), gfx::Image::named("default_add"));
    EXPECT_FALSE(schedule()->inputView());

    tap(other);
    auto entry = schedule()->inputView();
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->txtCourseName()->text(), "");
    EXPECT_EQ(entry->txtTime()->text(), "00:00~00:00");
    EXPECT_EQ(entry->weekCourse()->weeks, "0");
    EXPECT_TRUE(sameFrame(entry->frame(), { 320.0 / 6, 164, 320.0 * 2 / 3, 240 }));
    EXPECT_TRUE(test::ScreenProbe::near(colourAt(entry, { 107, 20 }), gfx::Color::white()));
}

TEST_F(ScheduleEdit, TheDismissingActionClosesAnOpenEntryWithoutSendingAndKeepsTheScreen)
{
    auto navigation = schedule()->navigationController();
    ASSERT_TRUE(navigation);
    size_t screens = navigation->viewControllers().size();
    tap(courseAt(1, 1));
    ASSERT_TRUE(schedule()->inputView());

    EXPECT_TRUE(navigation->performEscape());
    settle();
    EXPECT_FALSE(schedule()->inputView());
    EXPECT_EQ(openEntries(), 0u);
    EXPECT_EQ(navigation->viewControllers().size(), screens);
    EXPECT_EQ(navigation->topViewController(), schedule());
    EXPECT_TRUE(savedEntities().empty());
}

TEST_F(ScheduleEdit, DoneSendsTheWholeTimetableWithTheNewNameAndShowsItAfterTheReload)
{
    tap(schedule()->dayCell(1, 6));
    tap(schedule()->dayCell(1, 6));
    enterName("Chess");
    EXPECT_FALSE(schedule()->inputView());
    settle();

    auto sent = savedEntities();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0]->objectForKey("_id")->stringValue(), watch);
    EXPECT_EQ(*sent[0]->objectForKey("Data"), base::Value(""));
    EXPECT_EQ(*sent[0]->objectForKey("State"), base::Value(1));
    EXPECT_EQ(sentField(sent[0], 6, "D1"), base::Value("Chess"));
    EXPECT_EQ(sentField(sent[0], 1, "D1"), base::Value("Maths"));
    EXPECT_EQ(sentField(sent[0], 1, "D6"), base::Value("Piano"));
    EXPECT_EQ(sentField(sent[0], 6, "Name"), base::Value("6"));
    EXPECT_EQ(sentField(sent[0], 6, "Start_H"), base::Value(13));
    EXPECT_EQ(sentField(sent[0], 6, "Start_M"), base::Value("05"));

    EXPECT_EQ(takeAlertMessage(), base::localized("setting_success"));
    EXPECT_EQ(requestsTo("LumetGetClassInfo"), 2u);
    ASSERT_TRUE(courseAt(1, 6));
    EXPECT_EQ(courseAt(1, 6)->currentTitle(), "Chess");
}

TEST_F(ScheduleEdit, ANewNameForABlockGoesToItsFirstLessonAndAnEmptiedNameFreesTheCell)
{
    tap(courseAt(1, 1));
    ASSERT_TRUE(schedule()->inputView());
    EXPECT_EQ(schedule()->inputView()->txtCourseName()->text(), "Maths");
    EXPECT_EQ(schedule()->inputView()->txtTime()->text(), "8:05~9:45");
    enterName("Art");
    settle();
    takeAlertMessage();
    EXPECT_EQ(sentField(savedEntities()[0], 1, "D1"), base::Value("Art"));
    EXPECT_EQ(sentField(savedEntities()[0], 2, "D1"), base::Value("Maths"));
    EXPECT_EQ(courseAt(1, 1)->currentTitle(), "Art");
    EXPECT_EQ(courseAt(1, 2)->currentTitle(), "Maths");

    tap(courseAt(1, 4));
    enterName("");
    settle();
    takeAlertMessage();
    EXPECT_EQ(sentField(savedEntities()[1], 4, "D1"), base::Value(""));
    EXPECT_FALSE(courseAt(1, 4));
    EXPECT_EQ(schedule()->dayCell(1, 4)->currentImage(), gfx::Image::named("default_add"));
}

TEST_F(ScheduleEdit, CancelClosesTheEntryAndSendsNothing)
{
    tap(courseAt(2, 3));
    schedule()->inputView()->txtCourseName()->setText("Latin");
    tap(schedule()->inputView()->btnCancel());
    settle();
    EXPECT_EQ(openEntries(), 0u);
    EXPECT_FALSE(schedule()->inputView());
    EXPECT_TRUE(savedEntities().empty());
    EXPECT_EQ(schedule()->classInfo()->arr[1][2]->courseName, "Maths");
}

TEST_F(ScheduleEdit, OneEntryAtATimeAndDoneNamesTheLessonOfTheEntryShown)
{
    tap(schedule()->dayCell(1, 6));
    tap(schedule()->dayCell(1, 6));
    ASSERT_TRUE(schedule()->inputView());
    schedule()->dayCell(3, 5)->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
    schedule()->dayCell(3, 5)->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
    EXPECT_EQ(openEntries(), 1u);
    enterName("Drama");
    settle();
    EXPECT_EQ(openEntries(), 0u);
    auto sent = savedEntities();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sentField(sent[0], 5, "D3"), base::Value("Drama"));
    EXPECT_EQ(sentField(sent[0], 6, "D1"), base::Value(""));
}

} // namespace
