#include "base/time/Calendar.h"
#include "base/time/DateFormatter.h"
#include "base/text/Localization.h"
#include "base/time/ServiceDateText.h"
#include "core/service/ReplyFields.h"
#include "core/readers/Tool.h"

namespace core {

std::optional<base::Date> Tool::getDateFromStringSince1970(std::string_view text)
{
    if (ReplyFields::isBlank(text))
        return std::nullopt;
    return base::parseServiceDateText(text);
}

std::string Tool::stringFromDate(base::Date date)
{
    return base::DateFormatter("MM/dd/yyyy HH:mm:ss").stringFromDate(date);
}

std::string Tool::stringCNFromDate(base::Date date) { return base::DateFormatter("HH:mm").stringFromDate(date); }

std::string Tool::getWeekdayFromDate(base::Date date)
{
    constexpr const char* WeekdayKeys[7] = { "sun", "mon", "tues", "web", "thur", "fri", "sat" };
    int weekday = base::Calendar::current().weekday(date);
    return base::localized(WeekdayKeys[(weekday - 1) % 7]);
}

} // namespace core
