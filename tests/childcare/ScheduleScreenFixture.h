// The class schedule's screen tests: signed in to the local service as the demo account, with a timetable of
// the test's own stored for the demo watch, the schedule opened from the drawer menu and its first read
// done. Helpers tap the grid, read what was sent with "LumetSetClassInfo" and build timetables.
#pragma once

#include "base/DateScopedTimeZone.h"
#include "childcare/schedule/ClassScheduleVC.h"
#include "childcare/schedule/ClassTimeSetVC.h"
#include "childcare/schedule/CourseButton.h"
#include "childcare/schedule/InputView.h"
#include "core/service/ReplyFields.h"
#include "kit/popover/PopTip.h"
#include "shell/tour/TourContext.h"
#include "support/ScreenFixture.h"
#include "tracking-service/Fault.h"
#include "tracking-service/ServiceStore.h"
#include "ui/controls/Switch.h"
#include "json/JSONDecoder.h"

namespace test {

// Day columns Monday (0) to Sunday (6), each eight lessons; nullptr is a free lesson.
using Week = std::vector<std::vector<const char*>>;

class ScheduleTest : public ScreenTest {
protected:
    // Tuesday 3 June 2014, 10:00.
    static constexpr base::Date tuesday = base::Date::fromTimeIntervalSince1970(1401789600);

    void SetUp() override
    {
        ScreenTest::SetUp();
        clock = base::ManualClock::install(tuesday);
        store(standardWeek(), 1);
        launchAndSignIn();
        openSchedule();
    }

    // Monday: Maths twice, English, Science, Music, a free lesson, Art, English; Tuesday begins with English
    // and ends with Art; Wednesday has Art first and is free after; Saturday has Piano first.
    static Week standardWeek()
    {
        return { { "Maths", "Maths", "English", "Science", "Music", nullptr, "Art", "English" },
            { "English", "Chinese", "Maths", "Reading", "Sport", "Music", "Science", "Art" }, { "Art" }, {}, {},
            { "Piano" }, {} };
    }

    // Stores the timetable as the service's document for the demo watch (lessons 8:05 + an hour each).
    void store(const Week& week, int state)
    {
        std::string rows;
        for (size_t lesson = 0; lesson < 8; ++lesson) {
            std::string row = "{\"Name\":" + std::to_string(lesson + 1) + ",\"Start_H\":" + std::to_string(8 + lesson)
                + ",\"Start_M\":5,\"End_H\":" + std::to_string(8 + lesson) + ",\"End_M\":45";
            for (size_t day = 0; day < week.size(); ++day) {
                if (lesson < week[day].size() && week[day][lesson])
                    row += ",\"D" + std::to_string(day + 1) + "\":\"" + week[day][lesson] + "\"";
            }
            rows += (rows.empty() ? "" : ",") + row + "}";
        }
        auto d = core::ReplyFields::payload(
            "{\"d\":{\"State\":" + std::to_string(state) + ",\"Lumet_ClassInfoEntity\":[" + rows + "]}}");
        ASSERT_TRUE(d);
        service.store().setDocument(watch, tracking_service::ServiceStore::ClassInfoDocument, *d);
    }

    void openSchedule()
    {
        container()->openDrawerSide(kit::DrawerSide::Left, true);
        ASSERT_TRUE(pumpUntil([this] { return menu()->device() && !container()->isAnimatingDrawer(); }));
        shell::TourContext::openMenuRow("class_schedule");
        ASSERT_TRUE(pumpUntil([this] {
            return schedule() && schedule()->classInfo() && networkIdle()
                && shell::TourContext::drawerAtRest(kit::DrawerSide::None);
        }));
        clock->advance(1s);
    }

    std::shared_ptr<childcare::ClassScheduleVC> schedule() const
    {
        return std::dynamic_pointer_cast<childcare::ClassScheduleVC>(centreRoot());
    }

    // Waits for the calls under way, and the reload an accepted save starts.
    void settle()
    {
        pumpUntil([] { return networkIdle(); });
        pass(1);
    }

    // The course button that starts at this day (1 Monday) and lesson.
    std::shared_ptr<childcare::CourseButton> courseAt(int day, int lesson) const
    {
        for (const auto& button : schedule()->courseButtons()) {
            const auto& course = *button->weekCourse();
            if (course.day == std::to_string(day) && course.lesson == std::to_string(lesson))
                return button;
        }
        return nullptr;
    }

    // The "entity" of each "LumetSetClassInfo" request, in order.
    std::vector<base::DictionaryRef> savedEntities()
    {
        std::vector<base::DictionaryRef> entities;
        for (const auto& request : service.requestLog().requestsTo("LumetSetClassInfo")) {
            auto body = json::objectFromJSONString(request.body);
            const base::Value* entity
                = body && body->dictionary() ? body->dictionary()->objectForKey("entity") : nullptr;
            entities.push_back(entity ? entity->dictionary() : nullptr);
        }
        return entities;
    }
    // One field of lesson `lesson` (1 to 8) in a sent entity.
    static base::Value sentField(const base::DictionaryRef& entity, int lesson, const char* key)
    {
        const auto& rows = entity->objectForKey("Lumet_ClassInfoEntity")->array();
        return *rows->objectAtIndex(static_cast<size_t>(lesson - 1)).dictionary()->objectForKey(key);
    }

    // Frames come out of centre and bounds arithmetic: equal to within rounding.
    static bool sameFrame(const gfx::Rect& a, const gfx::Rect& b)
    {
        auto close = [](double x, double y) { return std::abs(x - y) < 1e-9; };
        return close(a.minX(), b.minX()) && close(a.minY(), b.minY()) && close(a.width(), b.width())
            && close(a.height(), b.height());
    }

    // Types a name into the open entry and presses Done.
    void enterName(const std::string& name)
    {
        auto entry = schedule()->inputView();
        ASSERT_TRUE(entry);
        entry->txtCourseName()->setText(name);
        tap(entry->btnDone());
    }

    ScopedTimeZone zone { "UTC" };
};

} // namespace test
