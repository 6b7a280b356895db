// The chat's web methods of the local service: texts and sound commands reach only the account's devices,
// sound commands only trackers that take them, and sent texts are kept.
#include "ServiceFixture.h"

#include "base/values/Array.h"
#include "tracking-service/RequestForm.h"

using tracking_service::DemoData;

namespace {

using ChatMethodsTest = ServiceFixture;

constexpr const char* accepted = "命令提交成功";

TEST_F(ChatMethodsTest, ATextToTheAccountsWatchIsAcceptedAndKept)
{
    std::string cookie = signIn();
    EXPECT_EQ(payload(call("LumetSendTextMsg", R"({"Serialnumber":"LW3600000001","text":"hi"})", cookie)),
        base::Value(accepted));
    EXPECT_EQ(payload(call("LumetSendTextMsg", R"({"Serialnumber":"LW3600000001","text":""})", cookie)),
        base::Value(accepted));
    auto kept = m_service->store().document(DemoData::WatchSerialNumber, "sent_texts");
    ASSERT_TRUE(kept && kept->array());
    ASSERT_EQ(kept->array()->count(), 2u);
    EXPECT_EQ(kept->array()->objectAtIndex(0), base::Value("hi"));
    EXPECT_EQ(kept->array()->objectAtIndex(1), base::Value(""));
}

// A typed text has no length limit: the service takes it whole, as the application sends it, far beyond the
// bodies of requests whose fields the application fills itself.
TEST_F(ChatMethodsTest, AVeryLongTypedTextIsAcceptedAndKeptWhole)
{
    std::string cookie = signIn();
    std::string text;
    for (int character = 0; character < 22000; ++character)
        text += "字";
    std::string body = R"({"Serialnumber":"LW3600000001","text":")" + text + R"("})";
    ASSERT_GT(body.size(), tracking_service::RequestForm::FieldsBodyLimit);
    EXPECT_EQ(payload(call("LumetSendTextMsg", body, cookie)), base::Value(accepted));
    auto kept = m_service->store().document(DemoData::WatchSerialNumber, "sent_texts");
    ASSERT_TRUE(kept && kept->array());
    EXPECT_EQ(kept->array()->objectAtIndex(0), base::Value(text));
}

TEST_F(ChatMethodsTest, ATextToAStrangeDeviceIsRefusedAndNotKept)
{
    std::string cookie = signIn();
    auto answer = payload(call("LumetSendTextMsg", R"({"Serialnumber":"XX0000000000","text":"hi"})", cookie));
    ASSERT_TRUE(answer && answer->string());
    EXPECT_NE(*answer->string(), accepted);
    EXPECT_FALSE(m_service->store().document("XX0000000000", "sent_texts"));
}

TEST_F(ChatMethodsTest, SoundCommandsReachOnlyTheTrackersThatTakeThem)
{
    std::string cookie = signIn();
    for (const char* serial : { DemoData::ParvoSerialNumber, DemoData::Tracker13SerialNumber,
             DemoData::Tracker18SerialNumber, DemoData::Tracker20SerialNumber }) {
        std::string body = std::string(R"({"Serialnumber":")") + serial + R"(","CommandText":"beep"})";
        EXPECT_EQ(payload(call("ParvoSendSoundCommand", body, cookie)), base::Value(accepted)) << serial;
    }
    for (const char* serial : { DemoData::Tracker7SerialNumber, DemoData::WatchSerialNumber, "XX0000000000" }) {
        std::string body = std::string(R"({"Serialnumber":")") + serial + R"(","CommandText":"beep"})";
        auto answer = payload(call("ParvoSendSoundCommand", body, cookie));
        ASSERT_TRUE(answer && answer->string()) << serial;
        EXPECT_NE(*answer->string(), accepted) << serial;
    }
}

TEST_F(ChatMethodsTest, BothMethodsNeedTheSession)
{
    EXPECT_EQ(call("LumetSendTextMsg", R"({"Serialnumber":"LW3600000001","text":"hi"})")->status, 401);
    EXPECT_EQ(call("ParvoSendSoundCommand", R"({"Serialnumber":"PV0200000001","CommandText":"x"})")->status, 401);
}

} // namespace
