// The voice upload's request, byte for byte as the receiving server reads it.
#include "chat/VoiceUploadBody.h"

#include "base/system/UserDefaults.h"
#include "core/state/SettingsKeys.h"
#include "core/service/VoiceUploadRoot.h"

#include <gtest/gtest.h>

namespace {

core::UserMessageQuery voiceMessage()
{
    core::UserMessageQuery message;
    message.to = "900001";
    message.from = "parent";
    message.msgType = 5;
    return message;
}

std::string textOf(const base::Data& bytes) { return std::string(bytes.begin(), bytes.end()); }

constexpr const char* textParts = "--sjdfklslkdf\r\n"
                                  "Content-Disposition: form-data; name=\"To\"\r\n\r\n900001"
                                  "\r\n--sjdfklslkdf\r\n"
                                  "Content-Disposition: form-data; name=\"From\"\r\n\r\nparent"
                                  "\r\n--sjdfklslkdf\r\n"
                                  "Content-Disposition: form-data; name=\"MsgType\"\r\n\r\n5"
                                  "\r\n--sjdfklslkdf\r\n"
                                  "Content-Disposition: form-data; name=\"Context\"\r\n\r\n(null)"
                                  "\r\n--sjdfklslkdf\r\n"
                                  "Content-Disposition: form-data; name=\"IsTODevice\"\r\n\r\ntrue";

TEST(VoiceUploadBody, WithoutFileTheBodyClosesAfterTheDeviceFlag)
{
    EXPECT_EQ(textOf(chat::VoiceUploadBody::make(voiceMessage(), std::nullopt)),
        std::string(textParts) + "\r\n--sjdfklslkdf--\r\n");
}

TEST(VoiceUploadBody, TheFileFollowsItsHeadUnchanged)
{
    base::Data amr { '#', '!', 'A', 'M', 'R', '\n', 0x3c, 0x00, 0xff, '\r', '\n' };
    std::string expected = std::string(textParts) + "\r\n--sjdfklslkdf\r\n"
        + "Content-Disposition: form-data; name=\"File\";filename=\"record.amr\"\r\n"
          "Content-Type: image/png\r\n\r\n"
        + textOf(amr) + "\r\n--sjdfklslkdf--\r\n";
    EXPECT_EQ(textOf(chat::VoiceUploadBody::make(voiceMessage(), amr)), expected);
}

TEST(VoiceUploadBody, ATextMessageCarriesItsContext)
{
    auto message = voiceMessage();
    message.context = "hello 你好";
    message.msgType = 3;
    std::string body = textOf(chat::VoiceUploadBody::make(message, std::nullopt));
    EXPECT_NE(body.find("name=\"Context\"\r\n\r\nhello 你好\r\n"), std::string::npos);
    EXPECT_NE(body.find("name=\"MsgType\"\r\n\r\n3\r\n"), std::string::npos);
}

TEST(VoiceUploadBody, TheRequestGoesToTheUploadRootWithCookieAndBoundary)
{
    auto& defaults = base::UserDefaults::standard();
    defaults.setObject(base::Value("LumetSession=abc"), core::SettingsKeys::Cookie);
    auto request = chat::VoiceUploadBody::request(voiceMessage(), std::nullopt);
    defaults.removeObjectForKey(core::SettingsKeys::Cookie);

    ASSERT_TRUE(request.url());
    EXPECT_EQ(request.url()->absoluteString(), core::voiceUploadRoot() + "server/PushMessage.ashx");
    EXPECT_EQ(request.httpMethod(), "POST");
    ASSERT_TRUE(request.valueForHTTPHeaderField("Cookie"));
    EXPECT_EQ(*request.valueForHTTPHeaderField("Cookie"), "LumetSession=abc");
    EXPECT_EQ(*request.valueForHTTPHeaderField("Content-Type"), "multipart/form-data; boundary=sjdfklslkdf");
    EXPECT_EQ(request.allHTTPHeaderFields().size(), 2u);
    EXPECT_EQ(request.httpBody(), chat::VoiceUploadBody::make(voiceMessage(), std::nullopt));
}

} // namespace
