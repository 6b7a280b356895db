#include "core/helpers/Helper.h"
#include "base/values/Array.h"
#include "base/system/UserDefaults.h"

#include <gtest/gtest.h>

using core::Helper;

namespace {

TEST(Helper, SettingsAreSavedToTheFileAtOnce)
{
    Helper::saveSettingValue(base::Value("0"), "kAutoLogin");
    EXPECT_EQ(Helper::readSettingsByKey("kAutoLogin"), base::Value("0"));
    base::UserDefaults reread(base::UserDefaults::standard().file());
    EXPECT_EQ(reread.stringForKey("kAutoLogin"), "0");

    Helper::saveSettingValue(std::nullopt, "kAutoLogin");
    EXPECT_FALSE(Helper::readSettingsByKey("kAutoLogin"));
    EXPECT_FALSE(base::UserDefaults(base::UserDefaults::standard().file()).objectForKey("kAutoLogin"));
}

TEST(Helper, PresentTextCheckCountsBlanksAsText)
{
    EXPECT_FALSE(Helper::isNOTStringNullOrWhitespace(std::nullopt));
    EXPECT_FALSE(Helper::isNOTStringNullOrWhitespace(base::Value::null()));
    EXPECT_FALSE(Helper::isNOTStringNullOrWhitespace(base::Value("")));
    EXPECT_TRUE(Helper::isNOTStringNullOrWhitespace(base::Value(" ")));
    EXPECT_TRUE(Helper::isNOTStringNullOrWhitespace(base::Value("命令提交成功")));
    EXPECT_TRUE(Helper::isNOTStringNullOrWhitespace(base::Value(0)));
    EXPECT_FALSE(Helper::isNOTStringNullOrWhitespace(base::Value(base::Array::make())));
}

TEST(Helper, NotNullStringTrimsBlanksButNotLineBreaks)
{
    EXPECT_FALSE(Helper::isNotNullString(std::nullopt));
    EXPECT_FALSE(Helper::isNotNullString(base::Value::null()));
    EXPECT_FALSE(Helper::isNotNullString(base::Value("")));
    EXPECT_FALSE(Helper::isNotNullString(base::Value(" \t\u3000\u00a0")));
    EXPECT_EQ(Helper::isNotNullString(base::Value(" a ")), base::Value(" a "));
    EXPECT_EQ(Helper::isNotNullString(base::Value("\n")), base::Value("\n"));
    EXPECT_EQ(Helper::isNotNullString(base::Value(5)), base::Value(5));
}

} // namespace
