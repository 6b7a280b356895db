#include "base/Calendar.h"
#include "base/DateFormatter.h"
#include "base/Localization.h"
#include "base/ServiceDateText.h"
#include "core/ReplyFields.h"
#include "core/Tool.h"

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
