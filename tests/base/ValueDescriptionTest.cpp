#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "base/values/Value.h"

#include <cmath>
#include <gtest/gtest.h>

using base::Value;

TEST(ValueDescription, DoublesUseTheShortestRoundTripForm)
{
    EXPECT_EQ(Value(0.1).description(), "0.1");
    EXPECT_EQ(Value(1.0).description(), "1");
    EXPECT_EQ(Value(1e20).description(), "1e+20");
    EXPECT_EQ(Value(100000.0).description(), "100000");
    EXPECT_EQ(Value(0.1 + 0.2).description(), "0.30000000000000004");
    EXPECT_EQ(Value(-2.5).description(), "-2.5");
    EXPECT_EQ(Value(0.15f).description(), "0.15000000596046448");
    EXPECT_EQ(Value(std::nan("")).description(), "nan");
}

TEST(ValueDescription, IntegersBoolsAndNull)
{
    EXPECT_EQ(Value(-5).description(), "-5");
    EXPECT_EQ(Value(UINT64_MAX).description(), "18446744073709551615");
    EXPECT_EQ(Value(true).description(), "1");
    EXPECT_EQ(Value(false).description(), "0");
    EXPECT_EQ(Value().description(), "<null>");
}

TEST(ValueDescription, DataIsHexInGroupsOfFourBytes)
{
    EXPECT_EQ(Value(base::Data { 0x0b, 0xad, 0xca, 0xfe, 0x01 }).description(), "<0badcafe 01>");
    EXPECT_EQ(Value(base::Data { 1, 2, 3, 4, 5, 6, 7, 8 }).description(), "<01020304 05060708>");
    EXPECT_EQ(Value(base::Data {}).description(), "<>");
}

TEST(ValueDescription, DatesAreWholeSecondsInUTC)
{
    EXPECT_EQ(Value(base::Date::fromTimeIntervalSince1970(1400000000)).description(), "2014-05-13 16:53:20 +0000");
    EXPECT_EQ(Value(base::Date::fromTimeIntervalSince1970(1400000000.9)).description(), "2014-05-13 16:53:20 +0000");
    EXPECT_EQ(Value(base::Date::fromTimeIntervalSince1970(-0.5)).description(), "1969-12-31 23:59:59 +0000");
}

TEST(ValueDescription, ArraysAndDictionariesAreIndentedByFour)
{
    EXPECT_EQ(Value(base::Array::make({ 1, 2 })).description(), "(\n    1,\n    2\n)");
    EXPECT_EQ(Value(base::Array::make()).description(), "(\n)");
    EXPECT_EQ(Value(base::Dictionary::make({ { "key", "value" } })).description(), "{\n    key = value;\n}");
    EXPECT_EQ(Value(base::Dictionary::make()).description(), "{\n}");
}

TEST(ValueDescription, NestedContainersIndentPerLevelAndSortTextKeys)
{
    auto inner = base::Dictionary::make({ { "b", base::Array::make({ 1, "x y" }) }, { "a", Value() } });
    auto outer = base::Dictionary::make({ { "zeta", 0.5 }, { "alpha", inner } });
    EXPECT_EQ(Value(outer).description(),
        "{\n"
        "    alpha = {\n"
        "        a = \"<null>\";\n"
        "        b = (\n"
        "            1,\n"
        "            \"x y\"\n"
        "        );\n"
        "    };\n"
        "    zeta = 0.5;\n"
        "}");
}

TEST(ValueDescription, TextsInContainersAreQuotedUnlessWordCharacters)
{
    auto array = base::Array::make({ "under_score9", "", "a-b", "\u00e9", "say \"hi\"\n", "back\\slash" });
    EXPECT_EQ(Value(array).description(),
        "(\n"
        "    under_score9,\n"
        "    \"\",\n"
        "    \"a-b\",\n"
        "    \"\u00e9\",\n"
        "    \"say \\\"hi\\\"\\n\",\n"
        "    \"back\\\\slash\"\n"
        ")");
    // On its own a text is printed as it is.
    EXPECT_EQ(Value("a b").description(), "a b");
}
