#include "base/Array.h"
#include "base/Dictionary.h"
#include "tracking-service/DemoData.h"
#include "tracking-service/LaneSeeds.h"
#include "tracking-service/ServiceStore.h"

#include <string>

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

    base::Value timetable()
    {
        constexpr int Starts[8][2]
            = { { 8, 0 }, { 8, 55 }, { 10, 0 }, { 10, 55 }, { 14, 0 }, { 14, 55 }, { 16, 0 }, { 16, 55 } };
        constexpr const char* Courses[8]
            = { "Maths", "Chinese", "English", "Science", "Music", "Art", "Sport", "Reading" };
        std::vector<base::Value> rows;
        for (int lesson = 0; lesson < 8; ++lesson) {
            auto row = base::MutableDictionary::make({
                { "Name", lesson + 1 },
                { "Start_H", Starts[lesson][0] },
                { "Start_M", Starts[lesson][1] },
                { "End_H", Starts[lesson][0] + (Starts[lesson][1] + 45) / 60 },
                { "End_M", (Starts[lesson][1] + 45) % 60 },
            });
            for (int day = 1; day <= 5; ++day)
                row->setObject(base::Value(Courses[(lesson + day) % 8]), "D" + std::to_string(day));
            rows.emplace_back(row->copy());
        }
        return base::Dictionary::make({ { "State", 1 }, { "Lumet_ClassInfoEntity", base::Array::make(rows) } });
    }

} // namespace

void seedSchedule(ServiceStore& store, const DemoSeed&)
{
    store.setDocument(DemoData::WatchSerialNumber, ServiceStore::AlarmClockDocument, alarmClocks());
    store.setDocument(DemoData::WatchSerialNumber, ServiceStore::ClassInfoDocument, timetable());
}

} // namespace tracking_service
