#include "base/time/DateSymbols.h"

namespace base {

namespace {

    const DateSymbols english {
        .shortMonths = { "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec" },
        .months = { "January", "February", "March", "April", "May", "June", "July", "August", "September", "October",
            "November", "December" },
        .shortWeekdays = { "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat" },
        .weekdays = { "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday" },
        .dayPeriods = { "AM", "PM" },
        .shortDatePattern = "M/d/yy",
        .shortTimePattern = "h:mm a",
        .dateTimeSeparator = ", ",
    };

    const DateSymbols chinese {
        .shortMonths = { "1月", "2月", "3月", "4月", "5月", "6月", "7月", "8月", "9月", "10月", "11月", "12月" },
        .months
        = { "一月", "二月", "三月", "四月", "五月", "六月", "七月", "八月", "九月", "十月", "十一月", "十二月" },
        .shortWeekdays = { "周日", "周一", "周二", "周三", "周四", "周五", "周六" },
        .weekdays = { "星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六" },
        .dayPeriods = { "上午", "下午" },
        .shortDatePattern = "yy/M/d",
        .shortTimePattern = "ah:mm",
        .dateTimeSeparator = " ",
    };

} // namespace

const DateSymbols& DateSymbols::forLocale(std::string_view localeIdentifier)
{
    bool isChinese = localeIdentifier.starts_with("zh")
        && (localeIdentifier.size() == 2 || localeIdentifier[2] == '-' || localeIdentifier[2] == '_');
    return isChinese ? chinese : english;
}

} // namespace base
