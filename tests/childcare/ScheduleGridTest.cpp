// The class schedule's grid against the local service: what it reads and shows (course buttons, their
// spans and colours, today's column), the lock switch it sets, and the reload at the end of a drag.
#include "ScheduleScreenFixture.h"

#include "base/text/LocalizedFormat.h"
#include "base/system/Random.h"
#include "kit/widgets/TwoTitleButton.h"
#include "ui/scroll/ScrollView.h"

namespace {

using childcare::ClassScheduleVC;

class ScheduleGrid : public test::ScheduleTest {
protected:
    static gfx::Color tableColour(size_t index)
    {
        return ClassScheduleVC::handleRandomColorStr(ClassScheduleVC::colorTable[index]);
    }
    // The colour shown inside a course button, clear of its title and rounded corners.
    gfx::Color shownColour(const std::shared_ptr<childcare::CourseButton>& button)
    {
        return colourAt(button, { 3, button->bounds().height() - 8 });
    }
};

TEST_F(ScheduleGrid, ReadsTheWatchsTimetableAndJoinsNeighbouringLessonsOfADay)
{
    auto requests = service.requestLog().requestsTo("LumetGetClassInfo");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_NE(requests[0].body.find(std::string("\"Serialnumber\":\"") + watch + "\""), std::string::npos);
    EXPECT_TRUE(schedule()->classLock()->isOn());

    double unit = 320 / 5.5;
    auto maths = courseAt(1, 1);
    ASSERT_TRUE(maths);
    EXPECT_EQ(maths->currentTitle(), "Maths");
    EXPECT_TRUE(sameFrame(maths->frame(), { 0.5 * unit + 2, 1, unit - 4, 98 }));
    EXPECT_FALSE(courseAt(1, 2));
    EXPECT_FALSE(courseAt(1, 6));
    // English ends Monday and begins Tuesday: two buttons.
    EXPECT_EQ(courseAt(1, 8)->frame().height(), 48);
    EXPECT_EQ(courseAt(2, 1)->currentTitle(), "English");
    // Monday 6, Tuesday 8, Wednesday 1; Saturday's Piano has no column.
    EXPECT_EQ(schedule()->courseButtons().size(), 15u);
    EXPECT_EQ(schedule()->arrClassTime()[2], "10:05~10:45");
}

TEST_F(ScheduleGrid, EqualNamesShareAColourAndOtherNamesTakeOthers)
{
    auto english = shownColour(courseAt(1, 3));
    EXPECT_EQ(english, shownColour(courseAt(1, 8)));
    EXPECT_EQ(shownColour(courseAt(1, 7)), shownColour(courseAt(2, 8)));
    EXPECT_NE(english, shownColour(courseAt(1, 1)));
    EXPECT_NE(english, shownColour(courseAt(1, 4)));
    EXPECT_TRUE(test::ScreenProbe::near(shownColour(courseAt(1, 1)), *courseAt(1, 1)->backgroundColor()));
    // Fewer than fifteen names: every colour comes from the table.
    for (const auto& button : schedule()->courseButtons()) {
        auto inTable = [&](const char* text) {
            return ClassScheduleVC::handleRandomColorStr(text) == *button->backgroundColor();
        };
        EXPECT_TRUE(std::any_of(ClassScheduleVC::colorTable.begin(), ClassScheduleVC::colorTable.end(), inTable));
    }
}

TEST_F(ScheduleGrid, NamesPastTheFifteenColoursDrawFromTheSeededRandomSource)
{
    static const char* names[] = { "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O", "P" };
    test::Week week(7);
    for (size_t i = 0; i < 16; ++i)
        week[i / 8].push_back(names[i]);
    store(week, 0);
    auto coloursAfterReload = [&](uint64_t seed) {
        base::Random::shared().setSeed(seed);
        schedule()->loadNetData();
        settle();
        std::map<std::string, gfx::Color> colours;
        for (const auto& button : schedule()->courseButtons())
            colours[*button->weekCourse()->courseName] = *button->backgroundColor();
        return colours;
    };
    auto first = coloursAfterReload(7);
    ASSERT_EQ(first.size(), 16u);
    EXPECT_FALSE(schedule()->classLock()->isOn());
    // Sixteen names, then the free lessons' empty one: the first fifteen take the table in order.
    EXPECT_EQ(first["A"], tableColour(0));
    EXPECT_EQ(first["O"], tableColour(14));
    EXPECT_EQ(coloursAfterReload(7), first);
    base::Random::shared().setSeed(7);
    EXPECT_EQ(first["P"], tableColour(base::Random::shared().nextBelow(15)));
}

TEST_F(ScheduleGrid, TodaysColumnIsShadedAndTheHeaderShowsTheWeek)
{
    EXPECT_EQ(schedule()->horTitles()[1], "2");
    auto tuesday = std::dynamic_pointer_cast<kit::TwoTitleButton>(schedule()->weekView()->viewWithTag(9001));
    auto monday = std::dynamic_pointer_cast<kit::TwoTitleButton>(schedule()->weekView()->viewWithTag(9000));
    ASSERT_TRUE(tuesday && monday);
    EXPECT_EQ(tuesday->title(), base::LocalizedFormat::format(base::localized("day"), { "3" }));
    EXPECT_TRUE(test::ScreenProbe::near(colourAt(tuesday, { 3, 15 }), gfx::Color::rgb(0.56, 0.56, 0.74)));
    EXPECT_FALSE(test::ScreenProbe::near(colourAt(monday, { 3, 15 }), gfx::Color::rgb(0.56, 0.56, 0.74)));
}

TEST_F(ScheduleGrid, TheEndOfEachDragReadsTheTimetableAgain)
{
    store({ { "Chess" } }, 0);
    schedule()->weekScrollView()->dragTo({ 0, 60 });
    schedule()->weekScrollView()->releaseWithVelocity({ 0, 0 });
    settle();
    EXPECT_EQ(requestsTo("LumetGetClassInfo"), 2u);
    EXPECT_EQ(schedule()->courseButtons().size(), 1u);
    EXPECT_EQ(courseAt(1, 1)->currentTitle(), "Chess");
    EXPECT_FALSE(schedule()->classLock()->isOn());
}

} // namespace
