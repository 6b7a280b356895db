// The "config" property list that Singleton reads at launch: the drawer menu's function lists by type.
#include "base/Dictionary.h"
#include "core/Singleton.h"

#include <gtest/gtest.h>

TEST(SingletonConfig, TheMenuListsComeFromTheResourcesPropertyList)
{
    ASSERT_TRUE(core::Singleton::shared().loadConfig());
    const auto& config = core::Singleton::shared().config();
    ASSERT_TRUE(config);
    const base::Value* byType = config->objectForKey("FunctionsByDeviceType");
    ASSERT_TRUE(byType && byType->dictionary());
    EXPECT_TRUE(byType->dictionary()->objectForKey("36"));
    EXPECT_TRUE(config->objectForKey("DefaultFunctions"));
}
