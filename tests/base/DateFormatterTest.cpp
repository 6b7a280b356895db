#include "base/time/DateFormatter.h"
#include "DateScopedTimeZone.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* Shanghai = "CST-8";
// 2014-05-13 16:53:20 UTC, 2014-05-14 00:53:20 in Shanghai.
const base::Date sample = base::Date::fromTimeIntervalSince1970(1400000000);

base::DateFormatter formatter(const char* pattern, base::TimeZone zone = base::TimeZone::local())
{
    base::DateFormatter result(pattern);
    result.setLocale("en_US");
    result.setTimeZone(zone);
    return result;
}

TEST(DateFormatter, WritesThePatternsTheApplicationUses)
{
    test::ScopedTimeZone zone(Shanghai);
    EXPECT_EQ(formatter("MM/dd/yyyy HH:mm:ss").stringFromDate(sample), "05/14/2014 00:53:20");
    EXPECT_EQ(formatter("yyyy/MM/dd HH:mm:ss").stringFromDate(sample), "2014/05/14 00:53:20");
    EXPECT_EQ(formatter("yyyy-MM-dd HH:mm").stringFromDate(sample), "2014-05-14 00:53");
    EXPECT_EQ(formatter("MM-dd HH:mm").stringFromDate(sample), "05-14 00:53");
    EXPECT_EQ(formatter("HH:mm").stringFromDate(sample), "00:53");
    EXPECT_EQ(formatter("yyyy-MM-dd").stringFromDate(sample), "2014-05-14");
    EXPECT_EQ(formatter("yyyyMMddHHmmss").stringFromDate(sample), "20140514005320");
}

TEST(DateFormatter, PatternsReadBackWhatTheyWrite)
{
    test::ScopedTimeZone zone(Shanghai);
    for (const char* pattern : { "MM/dd/yyyy HH:mm:ss", "yyyy/MM/dd HH:mm:ss", "yyyyMMddHHmmss",
             "EEEE, d MMMM yyyy h:mm:ss a", "EEE MMM d HH:mm:ss Z yyyy", "yyyy-MM-dd'T'HH:mm:ss.SSSZZZZZ" }) {
        auto f = formatter(pattern);
        auto text = f.stringFromDate(sample);
        EXPECT_EQ(f.dateFromString(text), sample) << pattern << " wrote " << text;
    }
}

TEST(DateFormatter, FieldLettersAndLiterals)
{
    auto utc = base::TimeZone::gmt();
    base::Date evening = base::Date::fromTimeIntervalSince1970(1400000000.5);
    EXPECT_EQ(formatter("h:mm a", utc).stringFromDate(evening), "4:53 PM");
    EXPECT_EQ(formatter("K k H", utc).stringFromDate(base::Date()), "0 24 0");
    EXPECT_EQ(formatter("EEE EEEE MMM MMMM", utc).stringFromDate(evening), "Tue Tuesday May May");
    EXPECT_EQ(formatter("ss.SSS S", utc).stringFromDate(evening), "20.500 5");
    EXPECT_EQ(formatter("'at' HH 'o''clock' ''", utc).stringFromDate(evening), "at 16 o'clock '");
    EXPECT_EQ(formatter("yy y Z ZZZZZ", base::TimeZone::fixed(-(3 * 3600 + 1800))).stringFromDate(evening),
        "14 2014 -0330 -03:30");
}

TEST(DateFormatter, ReadsInTheFormattersZone)
{
    test::ScopedTimeZone zone("EST5EDT,M3.2.0,M11.1.0");
    EXPECT_EQ(formatter("yyyy-MM-dd HH:mm:ss").dateFromString("2014-05-13 12:53:20"), sample);
    EXPECT_EQ(formatter("yyyy-MM-dd HH:mm:ss", base::TimeZone::gmt()).dateFromString("2014-05-13 16:53:20"), sample);
    // An explicit offset in the text wins over the formatter's zone.
    EXPECT_EQ(formatter("yyyy-MM-dd HH:mm:ss Z").dateFromString("2014-05-14 00:53:20 +0800"), sample);
}

TEST(DateFormatter, MissingFieldsDefaultToTheFirstOfJanuary2000)
{
    auto read = formatter("HH:mm", base::TimeZone::gmt()).dateFromString("07:05");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->timeIntervalSince1970(), 946684800 + 7 * 3600 + 5 * 60);
}

TEST(DateFormatter, ReadingIsStrict)
{
    auto f = formatter("yyyy-MM-dd HH:mm", base::TimeZone::gmt());
    EXPECT_FALSE(f.dateFromString("2014-02-30 10:00")); // no such day
    EXPECT_FALSE(f.dateFromString("2014-13-01 10:00"));
    EXPECT_FALSE(f.dateFromString("2014-05-13 24:00"));
    EXPECT_FALSE(f.dateFromString("2014-05-13 10:60"));
    EXPECT_FALSE(f.dateFromString("2014-05-13 10:00 "));
    EXPECT_FALSE(f.dateFromString("2014/05/13 10:00"));
    EXPECT_FALSE(f.dateFromString(""));
    EXPECT_TRUE(f.dateFromString("2014-5-3 9:07")); // separated fields take as many digits as they find
    EXPECT_FALSE(formatter("h:mm a").dateFromString("13:00 PM"));
    EXPECT_FALSE(formatter("HH:mm").dateFromString("ab:cd"));
}

TEST(DateFormatter, AdjacentFieldsReadTheirWidth)
{
    auto f = formatter("yyyyMMddHHmmss", base::TimeZone::gmt());
    EXPECT_EQ(f.dateFromString("20140513165320"), sample);
    EXPECT_FALSE(f.dateFromString("201405131653"));
    EXPECT_EQ(f.dateFromString("2014051316532"),
        base::Date::fromTimeIntervalSince1970(1400000000 - 18)); // the last field takes what remains
    EXPECT_FALSE(f.dateFromString("201405131653200"));
}

TEST(DateFormatter, TwelveHourClockAndNames)
{
    auto f = formatter("MMM d yyyy h:mm a", base::TimeZone::gmt());
    EXPECT_EQ(f.dateFromString("may 13 2014 4:53 pm"), base::Date::fromTimeIntervalSince1970(1400000000 - 20));
    EXPECT_EQ(f.dateFromString("May 13 2014 12:00 AM"), base::Date::fromTimeIntervalSince1970(1399939200));
    EXPECT_EQ(f.dateFromString("May 13 2014 12:00 PM"), base::Date::fromTimeIntervalSince1970(1399939200 + 43200));
}

TEST(DateFormatter, TwoDigitYearsPivotAt69)
{
    auto f = formatter("yy-MM-dd", base::TimeZone::gmt());
    base::DateFormatter years("yyyy");
    years.setTimeZone(base::TimeZone::gmt());
    EXPECT_EQ(years.stringFromDate(f.dateFromString("68-01-01").value()), "2068");
    EXPECT_EQ(years.stringFromDate(f.dateFromString("69-01-01").value()), "1969");
}

TEST(DateFormatter, ShortStylesFollowTheLocale)
{
    base::DateFormatter f;
    f.setTimeZone(base::TimeZone::gmt());
    f.setLocale("en_US");
    f.setDateStyle(base::DateFormatter::Style::Short);
    f.setTimeStyle(base::DateFormatter::Style::Short);
    EXPECT_EQ(f.stringFromDate(sample), "5/13/14, 4:53 PM");
    f.setLocale("zh-Hans");
    EXPECT_EQ(f.stringFromDate(sample), "14/5/13 下午4:53");
    f.setDateStyle(base::DateFormatter::Style::None);
    EXPECT_EQ(f.stringFromDate(sample), "下午4:53");
    EXPECT_EQ(f.dateFromString("下午4:53"), base::Date::fromTimeIntervalSince1970(946684800 + 16 * 3600 + 53 * 60));
}

TEST(DateFormatter, DatesBeyondTheCalendarAreClamped)
{
    auto f = formatter("yyyy", base::TimeZone::gmt());
    EXPECT_EQ(f.stringFromDate(base::Date::fromTimeIntervalSince1970(1e300)), "9999");
    EXPECT_EQ(f.stringFromDate(base::Date::fromTimeIntervalSince1970(-1e300)), "0001");
}

} // namespace
