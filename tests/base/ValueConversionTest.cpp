#include "base/values/Value.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using base::Value;

TEST(ValueConversion, NumbersTruncateTowardZeroAndSaturate)
{
    EXPECT_EQ(Value(3.9).intValue(), 3);
    EXPECT_EQ(Value(-3.9).intValue(), -3);
    EXPECT_EQ(Value(1e20).intValue(), INT_MAX);
    EXPECT_EQ(Value(-1e20).longLongValue(), LLONG_MIN);
    EXPECT_EQ(Value(1e30).unsignedLongLongValue(), ULLONG_MAX);
    EXPECT_EQ(Value(-2.5).unsignedLongLongValue(), 0u);
    EXPECT_EQ(Value(std::nan("")).intValue(), 0);
    EXPECT_EQ(Value(std::nan("")).longLongValue(), 0);
    EXPECT_FALSE(Value(std::nan("")).boolValue());
    EXPECT_EQ(Value(INT64_C(5000000000)).intValue(), INT_MAX);
    EXPECT_EQ(Value(INT64_C(-5000000000)).intValue(), INT_MIN);
    EXPECT_EQ(Value(UINT64_MAX).longLongValue(), LLONG_MAX);
    EXPECT_EQ(Value(INT64_C(-1)).unsignedLongLongValue(), 0u);
    EXPECT_EQ(Value(UINT64_MAX).unsignedLongLongValue(), UINT64_MAX);
    EXPECT_EQ(Value(true).intValue(), 1);
    EXPECT_DOUBLE_EQ(Value(INT64_C(-7)).doubleValue(), -7.0);
    EXPECT_TRUE(Value(0.25).boolValue());
    EXPECT_FALSE(Value(0.0).boolValue());
}

TEST(ValueConversion, TextsReadALeadingInteger)
{
    EXPECT_EQ(Value("42abc").intValue(), 42);
    EXPECT_EQ(Value(" \t\n-42").intValue(), -42);
    EXPECT_EQ(Value("+7").intValue(), 7);
    EXPECT_EQ(Value("12.9").intValue(), 12);
    EXPECT_EQ(Value("abc").intValue(), 0);
    EXPECT_EQ(Value("").intValue(), 0);
    EXPECT_EQ(Value("- 5").intValue(), 0);
    EXPECT_EQ(Value("--5").intValue(), 0);
}

TEST(ValueConversion, TextsSaturateAtTheTypesRange)
{
    EXPECT_EQ(Value("99999999999999999999999").intValue(), INT_MAX);
    EXPECT_EQ(Value("-99999999999999999999999").intValue(), INT_MIN);
    EXPECT_EQ(Value("2147483648").intValue(), INT_MAX);
    EXPECT_EQ(Value("-2147483648").intValue(), INT_MIN);
    EXPECT_EQ(Value("9223372036854775807").longLongValue(), LLONG_MAX);
    EXPECT_EQ(Value("9223372036854775808").longLongValue(), LLONG_MAX);
    EXPECT_EQ(Value("-9223372036854775808").longLongValue(), LLONG_MIN);
    EXPECT_EQ(Value("-9223372036854775809").longLongValue(), LLONG_MIN);
    EXPECT_EQ(Value("18446744073709551615").unsignedLongLongValue(), ULLONG_MAX);
    EXPECT_EQ(Value("18446744073709551616").unsignedLongLongValue(), ULLONG_MAX);
    EXPECT_EQ(Value("-5").unsignedLongLongValue(), 0u);
}

TEST(ValueConversion, TextDoubleValueReadsALeadingDecimalNumber)
{
    EXPECT_DOUBLE_EQ(Value("1.5e3 m").doubleValue(), 1500);
    EXPECT_DOUBLE_EQ(Value("  -.5").doubleValue(), -0.5);
    EXPECT_DOUBLE_EQ(Value("7.").doubleValue(), 7);
    EXPECT_DOUBLE_EQ(Value("2e").doubleValue(), 2);
    EXPECT_DOUBLE_EQ(Value("2e+").doubleValue(), 2);
    EXPECT_DOUBLE_EQ(Value("3,5").doubleValue(), 3);
    EXPECT_DOUBLE_EQ(Value("0.1").doubleValue(), 0.1);
    EXPECT_EQ(Value("1e999").doubleValue(), std::numeric_limits<double>::infinity());
    EXPECT_EQ(Value("-1e999").doubleValue(), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(Value("1e-999").doubleValue(), 0);
    EXPECT_EQ(Value("0.000000001e-999").doubleValue(), 0);
    // Only decimal digits count: no hexadecimal, infinity or NaN words.
    EXPECT_EQ(Value("0x10").doubleValue(), 0);
    EXPECT_EQ(Value("inf").doubleValue(), 0);
    EXPECT_EQ(Value("nan").doubleValue(), 0);
    EXPECT_EQ(Value(".").doubleValue(), 0);
}

TEST(ValueConversion, TextBoolValueLooksAtTheFirstSignificantCharacter)
{
    for (const char* yes : { "YES", "yes", "true", "T", "1", "9", "  -0001", "+09", "00y" })
        EXPECT_TRUE(Value(yes).boolValue()) << yes;
    for (const char* no : { "NO", "no", "false", "0", "0.5", "", "   ", "-", "x1" })
        EXPECT_FALSE(Value(no).boolValue()) << no;
}

TEST(ValueConversion, OtherKindsGiveZero)
{
    for (const Value& value :
        { Value(), Value(base::Data { 1, 2 }), Value(base::Date::fromTimeIntervalSince1970(5)) }) {
        EXPECT_EQ(value.intValue(), 0);
        EXPECT_EQ(value.doubleValue(), 0);
        EXPECT_FALSE(value.boolValue());
    }
}

TEST(ValueConversion, StringValueOfNumbersAndTexts)
{
    EXPECT_EQ(Value(42).stringValue(), "42");
    EXPECT_EQ(Value(true).stringValue(), "1");
    EXPECT_EQ(Value(0.1).stringValue(), "0.1");
    EXPECT_EQ(Value("a b").stringValue(), "a b");
    EXPECT_EQ(Value().stringValue(), "<null>");
}
