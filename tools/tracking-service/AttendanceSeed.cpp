#include "base/values/Array.h"
#include "base/time/Calendar.h"
#include "base/values/Dictionary.h"
#include "base/time/ServiceDateText.h"
#include "tracking-service/DemoData.h"
#include "tracking-service/LaneSeeds.h"
#include "tracking-service/ServiceStore.h"

#include <string>

namespace tracking_service {

namespace {

    constexpr double Hour = 3600;

    // Arrival (type 1) and departure (type 2) of one school day, with the hours after midnight and the
    // states the watch reports; the school day of the demo watch runs from 08:00 to 16:30.
    struct SchoolDay {
        double arrival;
        const char* arrivalState;
        double departure;
        const char* departureState;
    };

    // Five school days, newest first: the list shows the first three, one late arrival and one early
    // departure among them.
    constexpr SchoolDay Days[] = {
        { 7.9, "正常", 16.6, "正常" },
        { 8.3, "迟到", 16.7, "正常" },
        { 7.8, "正常", 15.9, "早退" },
        { 7.7, "正常", 16.5, "正常" },
        { 7.9, "正常", 16.6, "正常" },
    };

} // namespace

void seedAttendance(ServiceStore& store, const DemoSeed& demo)
{
    std::vector<base::Value> rows;
    int number = 0;
    auto add = [&](base::Date day, int type, double hour, const char* state) {
        ++number;
        rows.emplace_back(base::Dictionary::make({
            { "_id", "attendance-" + std::to_string(number) },
            { "Serialnumber", DemoData::WatchSerialNumber },
            { "Type", type },
            { "Time", base::serviceDateText(day.dateByAddingTimeInterval(hour * Hour)) },
            { "State", state },
            { "Code", "RF" + std::to_string(1000 + number) },
        }));
    };
    base::Calendar calendar = base::Calendar::current();
    for (size_t daysBack = 0; daysBack < std::size(Days); ++daysBack) {
        base::Date day = calendar.dateByAddingDays(-static_cast<int>(daysBack), demo.today);
        add(day, 1, Days[daysBack].arrival, Days[daysBack].arrivalState);
        add(day, 2, Days[daysBack].departure, Days[daysBack].departureState);
    }
    store.setDocument(
        DemoData::WatchSerialNumber, ServiceStore::AttendanceDocument, base::Array::make(std::move(rows)));
}

} // namespace tracking_service
