// The demo watch's alarm clocks and class timetable. The timetable's Monday opens with a double lesson and has
// one course twice apart and a free lesson; a course stands on Saturday, which the phone keeps but does not
// show; the lock is on.
#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "tracking-service/DemoData.h"
#include "tracking-service/LaneSeeds.h"
#include "tracking-service/ServiceStore.h"

#include <string>
#include <vector>

namespace tracking_service {

namespace {

    base::Value alarmClocks()
    {
        auto alarm = [](int mode, int hour, int minute) {
            return base::Value(base::Dictionary::make({ { "Mode", mode }, { "H", hour }, { "S", minute } }));
        };
        return base::Dictionary::make({
            { "_id", "alarmclock-1" },
            { "LumetAlarmClockEntity", base::Array::make({ alarm(1, 7, 0), alarm(0, 12, 30), alarm(1, 21, 5) }) },
        });
    }

    constexpr int Starts[8][2]
        = { { 8, 0 }, { 8, 55 }, { 10, 0 }, { 10, 55 }, { 14, 0 }, { 14, 55 }, { 16, 0 }, { 16, 55 } };
    // Monday to Saturday by lesson; "" is a free lesson (no key for that day).
    constexpr const char* Courses[6][8] = {
        { "Maths", "Maths", "English", "Science", "Music", "", "Art", "English" },
        { "Chinese", "English", "Maths", "Art", "Sport", "Reading", "Music", "Science" },
        { "Science", "Chinese", "Maths", "English", "Music", "Sport", "Art", "Reading" },
        { "English", "Maths", "Reading", "Chinese", "Art", "Science", "Music", "Sport" },
        { "Music", "Art", "Maths", "English", "Chinese", "Reading", "Sport", "Science" },
        { "Piano", "", "", "", "", "", "", "" },
    };

    base::Value lessonRow(int lesson)
    {
        int endMinutes = Starts[lesson][1] + 45;
        auto row = base::MutableDictionary::make({
            { "Name", lesson + 1 },
            { "Start_H", Starts[lesson][0] },
            { "Start_M", Starts[lesson][1] },
            { "End_H", Starts[lesson][0] + endMinutes / 60 },
            { "End_M", endMinutes % 60 },
        });
        for (int day = 0; day < 6; ++day) {
            if (*Courses[day][lesson])
                row->setObject(base::Value(Courses[day][lesson]), "D" + std::to_string(day + 1));
        }
        return base::Value(row->copy());
    }

} // namespace

void seedSchedule(ServiceStore& store, const DemoSeed&)
{
    store.setDocument(DemoData::WatchSerialNumber, ServiceStore::AlarmClockDocument, alarmClocks());
    std::vector<base::Value> rows;
    for (int lesson = 0; lesson < 8; ++lesson)
        rows.push_back(lessonRow(lesson));
    store.setDocument(DemoData::WatchSerialNumber, ServiceStore::ClassInfoDocument,
        base::Value(base::Dictionary::make({ { "State", 1 }, { "Lumet_ClassInfoEntity", base::Array::make(rows) } })));
}

} // namespace tracking_service
