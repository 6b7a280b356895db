#include "core/service/VoiceUploadRoot.h"
#include "base/system/UserDefaults.h"
#include "core/service/ServiceProtocol.h"
#include "core/state/Singleton.h"

#include <gtest/gtest.h>

namespace {

TEST(VoiceUploadRoot, FollowsTheConfiguredServerUnlessSetOfItsOwn)
{
    core::Singleton::shared().setServer("http://127.0.0.1:39123");
    EXPECT_EQ(core::voiceUploadRoot() + core::ServiceProtocol::VoiceUploadPath,
        "http://127.0.0.1:39123/server/PushMessage.ashx");
    core::Singleton::shared().setServer("http://example.test/");
    EXPECT_EQ(core::voiceUploadRoot(), "http://example.test/") << "no doubled separator";

    base::UserDefaults::standard().setObject(base::Value("http://voice.test/"), core::VoiceUploadRootKey);
    EXPECT_EQ(core::voiceUploadRoot(), "http://voice.test/");
    // A setting without the trailing separator still gives host and path apart; an empty one is no setting.
    base::UserDefaults::standard().setObject(base::Value("http://voice.test:8080"), core::VoiceUploadRootKey);
    EXPECT_EQ(core::voiceUploadRoot() + core::ServiceProtocol::VoiceUploadPath,
        "http://voice.test:8080/server/PushMessage.ashx");
    base::UserDefaults::standard().setObject(base::Value(""), core::VoiceUploadRootKey);
    EXPECT_EQ(core::voiceUploadRoot(), "http://example.test/");
    base::UserDefaults::standard().removeObjectForKey(core::VoiceUploadRootKey);
    base::UserDefaults::standard().removeObjectForKey("RootUrl");
}

} // namespace
