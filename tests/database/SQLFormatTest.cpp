#include "base/system/Log.h"
#include "database/SQLFormat.h"

#include <gtest/gtest.h>

using database::extractSQL;
using database::FormatArgument;

TEST(SQLFormat, EachConversionTakesOneArgument)
{
    std::vector<FormatArgument> arguments { base::Value(65), base::Value(1.5), base::Value(-3), base::Value(4),
        base::Value("x"), base::Value(9), base::Value(10) };
    auto formatted = extractSQL("%c %g %ld %qu %s %hi %llu", arguments);
    ASSERT_TRUE(formatted);
    EXPECT_EQ(formatted->sql, "? ? ? ? ? ? ?");
    ASSERT_EQ(formatted->arguments.size(), 7u);
    EXPECT_EQ(formatted->arguments[0], base::Value("A"));
    EXPECT_EQ(formatted->arguments[1], base::Value(1.5));
    EXPECT_EQ(formatted->arguments[2], base::Value(-3));
    EXPECT_TRUE(formatted->arguments[3].unsignedInteger());
    EXPECT_EQ(formatted->arguments[4], base::Value("x"));
}

TEST(SQLFormat, DoublePercentIsALiteralAndReadsNothing)
{
    std::vector<FormatArgument> arguments { base::Value(1) };
    auto formatted = extractSQL("like '%%d' and a = %d", arguments);
    ASSERT_TRUE(formatted);
    EXPECT_EQ(formatted->sql, "like '%d' and a = ?");
    EXPECT_EQ(formatted->arguments.size(), 1u);
}

TEST(SQLFormat, AbsentObjectWritesNullAndUnknownLettersLoseTheirPercent)
{
    std::vector<FormatArgument> arguments { std::nullopt };
    auto formatted = extractSQL("%@ %x %l", arguments);
    ASSERT_TRUE(formatted);
    EXPECT_EQ(formatted->sql, "NULL x l");
    EXPECT_TRUE(formatted->arguments.empty());
}

TEST(SQLFormat, TooFewArgumentsFails)
{
    base::Log::ScopedCapture capture;
    std::vector<FormatArgument> arguments { base::Value(1) };
    EXPECT_FALSE(extractSQL("%d %d", arguments));
    EXPECT_TRUE(capture.contains("more than the 1 argument(s) given"));
}
