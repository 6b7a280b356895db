#include "base/time/ServiceDateText.h"

#include <gtest/gtest.h>

namespace {

TEST(DateServiceText, ReadsMillisecondsAndIgnoresTheZoneSuffix)
{
    EXPECT_EQ(base::parseServiceDateText("/Date(1400000000000)/"), base::Date::fromTimeIntervalSince1970(1400000000));
    EXPECT_EQ(
        base::parseServiceDateText("/Date(1400000000000+0800)/"), base::Date::fromTimeIntervalSince1970(1400000000));
    EXPECT_EQ(base::parseServiceDateText("/Date(1400000000123-0500)/"),
        base::Date::fromTimeIntervalSince1970(1400000000.123));
    EXPECT_EQ(base::parseServiceDateText("/Date(-86400000)/"), base::Date::fromTimeIntervalSince1970(-86400));
    EXPECT_EQ(base::parseServiceDateText("1400000000000"), base::Date::fromTimeIntervalSince1970(1400000000));
}

TEST(DateServiceText, BlankOrDigitlessTextsGiveNothing)
{
    EXPECT_FALSE(base::parseServiceDateText(""));
    EXPECT_FALSE(base::parseServiceDateText("   "));
    EXPECT_FALSE(base::parseServiceDateText("/Date()/"));
    EXPECT_FALSE(base::parseServiceDateText("/Date(abc)/"));
    EXPECT_FALSE(base::parseServiceDateText("/Date(-)/"));
    EXPECT_FALSE(base::parseServiceDateText("/Date(99999999999999999999999)/"));
}

TEST(DateServiceText, WritesWholeMilliseconds)
{
    EXPECT_EQ(base::serviceDateText(base::Date::fromTimeIntervalSince1970(1400000000.1234)), "/Date(1400000000123)/");
    EXPECT_EQ(base::serviceDateText(base::Date::fromTimeIntervalSince1970(-1.5)), "/Date(-1500)/");
    auto text = base::serviceDateText(base::Date::fromTimeIntervalSince1970(1400000000.5));
    EXPECT_EQ(base::parseServiceDateText(text), base::Date::fromTimeIntervalSince1970(1400000000.5));
}

} // namespace
