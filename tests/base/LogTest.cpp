#include "base/system/Log.h"

#include <gtest/gtest.h>

namespace {

TEST(Log, DetailCategoriesAreOffUntilAskedForAndWarningsAlwaysShow)
{
    base::Log::ScopedCapture capture;
    base::trace("net", "GET /secret");
    base::log("warning: the store is full");
    {
        base::Log::ScopedCategories on(" net , sql ");
        EXPECT_TRUE(base::Log::isEnabled("sql"));
        EXPECT_FALSE(base::Log::isEnabled("sql-args"));
        base::trace("net", "POST /Login");
    }
    base::trace("net", "after the scope");
    EXPECT_EQ(capture.messages(), (std::vector<std::string> { "warning: the store is full", "POST /Login" }));
}

TEST(Log, AllTurnsEveryCategoryOnButTheArgumentsAndDisableAllTurnsThemOff)
{
    base::Log::enable("all");
    EXPECT_TRUE(base::Log::isEnabled("anything"));
    EXPECT_FALSE(base::Log::isEnabled("sql-args")) << "bound arguments carry personal data";
    base::Log::enable("sql-args");
    EXPECT_TRUE(base::Log::isEnabled("sql-args"));
    base::Log::disableAll();
    EXPECT_FALSE(base::Log::isEnabled("anything"));
    base::Log::setEnabled("ui", true);
    EXPECT_TRUE(base::Log::isEnabled("ui"));
    base::Log::setEnabled("ui", false);
    EXPECT_FALSE(base::Log::isEnabled("ui"));
}

} // namespace
