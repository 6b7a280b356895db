#include "networking/forms/QueryString.h"
#include "base/values/Array.h"

#include <gtest/gtest.h>

using networking::QueryString;

namespace {

std::string joined(base::DictionaryRef parameters, base::TextEncoding::Code encoding = base::TextEncoding::UTF8)
{
    return QueryString::joinedQueryStringFromParameters(*parameters, encoding).value_or("(failed)");
}

} // namespace

TEST(QueryString, NestedParametersFlattenWithBracketsInKeyOrder)
{
    auto parameters = base::Dictionary::make(
        { { "b", 1 }, { "a", base::Dictionary::make({ { "x", "1 2" }, { "y", base::Array::make({ "p", "q" }) } }) } });
    EXPECT_EQ(joined(parameters), "a[x]=1%202&a[y][]=p&a[y][]=q&b=1");
}

TEST(QueryString, KeysSortWithoutRegardToCase)
{
    EXPECT_EQ(joined(base::Dictionary::make({ { "c", 3 }, { "B", 2 }, { "a", 1 } })), "a=1&B=2&c=3");
}

TEST(QueryString, EmptyNullNumbersAndBooleans)
{
    EXPECT_EQ(joined(base::Dictionary::make()), "");
    EXPECT_EQ(joined(base::Dictionary::make({ { "k", base::Value() } })), "k");
    EXPECT_EQ(joined(base::Dictionary::make({ { "half", 0.5 }, { "yes", true } })), "half=0.5&yes=1");
}

TEST(QueryString, OnlyLettersDigitsAndDashUnderscoreDotBracketsStay)
{
    EXPECT_EQ(*QueryString::percentEscapedQueryComponent("a-b_c.d[e]", base::TextEncoding::UTF8), "a-b_c.d[e]");
    EXPECT_EQ(*QueryString::percentEscapedQueryComponent("&=:/?;+!@#$()~',* %\"<>{}", base::TextEncoding::UTF8),
        "%26%3D%3A%2F%3F%3B%2B%21%40%23%24%28%29%7E%27%2C%2A%20%25%22%3C%3E%7B%7D");
    EXPECT_EQ(*QueryString::percentEscapedQueryComponent("é", base::TextEncoding::UTF8), "%C3%A9");
    EXPECT_EQ(*QueryString::percentEscapedQueryComponent("é", base::TextEncoding::ISOLatin1), "%E9");
}

TEST(QueryString, AnArrayAtTheTopLevelGivesFieldsOfTheAbsentKey)
{
    auto pairs = QueryString::flattenedQueryStringPairs(std::nullopt, base::Value(base::Array::make({ 1, 2 })));
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0].field(), std::string(QueryString::AbsentKeyDescription) + "[]");
}

TEST(QueryString, AValueTheEncodingCannotHoldFailsNamingTheField)
{
    base::Error error;
    auto text = QueryString::joinedQueryStringFromParameters(
        *base::Dictionary::make({ { "ok", 1 }, { "name", "日本" } }), base::TextEncoding::ISOLatin1, &error);
    EXPECT_FALSE(text);
    EXPECT_NE(error.localizedDescription().find("name"), std::string::npos);
}
