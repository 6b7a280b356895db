#include "childcare/schedule/DateUtils.h"

#include "base/time/Calendar.h"
#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"

#include <algorithm>
#include <chrono>

namespace childcare {

namespace {

    // About 19,000 years: far beyond any week the header can show, and within the civil calendar's years.
    constexpr int64_t WeekLimit = 1000000;

    struct Week {
        unsigned referenceMonth;
        std::vector<std::string> dayNumbers;
    };

    Week weekOf(int64_t weeks)
    {
        using namespace std::chrono;
        base::DateComponents today = base::Calendar::current().components(base::Date::now());
        sys_days reference = sys_days { year { today.year } / month { static_cast<unsigned>(today.month) }
            / day { static_cast<unsigned>(today.day) } }
            + days { std::clamp(weeks, -WeekLimit, WeekLimit) * 7 };
        unsigned weekday = std::chrono::weekday { reference }.c_encoding(); // 0 Sunday to 6 Saturday
        sys_days monday = reference - days { weekday == 0 ? 6 : weekday - 1 };
        Week week { static_cast<unsigned>(year_month_day { reference }.month()), {} };
        for (int offset = 0; offset < 7; ++offset) {
            unsigned dayOfMonth = static_cast<unsigned>(year_month_day { monday + days { offset } }.day());
            week.dayNumbers.push_back(std::to_string(dayOfMonth));
        }
        return week;
    }

    std::vector<std::string> header(std::string label, const Week& week)
    {
        std::vector<std::string> entries { std::move(label) };
        entries.insert(entries.end(), week.dayNumbers.begin(), week.dayNumbers.end());
        return entries;
    }

} // namespace

std::vector<std::string> DateUtils::getDatesOfCurrence()
{
    Week week = weekOf(0);
    return header(base::LocalizedFormat::format(base::localized("month"), { week.referenceMonth }), week);
}

std::vector<std::string> DateUtils::getDatesSinceCurence(int64_t weeks)
{
    Week week = weekOf(weeks);
    return header(base::LocalizedFormat::format("%ld月", { week.referenceMonth }), week);
}

} // namespace childcare
