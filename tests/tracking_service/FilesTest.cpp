#include "ServiceFixture.h"

#include "voice/AmrFrameReader.h"

using tracking_service::DemoData;

namespace {

using FilesTest = ServiceFixture;

TEST_F(FilesTest, DemoVoiceIsARealAmrFile)
{
    auto reply = m_client->Get((std::string("/Tools/LumetDow.ashx?FileName=") + DemoData::VoiceFileName).c_str());
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, 200);
    base::Data bytes(reply->body.begin(), reply->body.end());
    EXPECT_TRUE(voice::HasAmrMagic(bytes));
    // 1.5 s of 12.2 kbit/s frames of 32 bytes behind the 6-byte magic.
    EXPECT_EQ(bytes.size(), 6u + 75u * 32u);
}

TEST_F(FilesTest, DownloadAlsoAnswersPost)
{
    auto reply = m_client->Post(
        (std::string("/Tools/LumetDow.ashx?FileName=") + DemoData::VoiceFileName).c_str(), "", "text/plain");
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, 200);
}

TEST_F(FilesTest, MissingAndUnsafeNamesAreNotFound)
{
    for (const char* name : { "missing.amr", "..", "../service.sqlite", "" })
        EXPECT_EQ(m_client->Get((std::string("/Tools/LumetDow.ashx?FileName=") + name).c_str())->status, 404) << name;
}

TEST_F(FilesTest, VoiceUploadKeepsFieldsAndFile)
{
    httplib::MultipartFormDataItems items = {
        { "To", "LW3600000001", "", "" },
        { "From", "lumet_demo", "", "" },
        { "MsgType", "5", "", "" },
        { "Context", "(null)", "", "" },
        { "IsTODevice", "true", "", "" },
        { "File", std::string("#!AMR\n\x3c", 7), "record.amr", "image/png" },
    };
    auto reply = m_client->Post("/server/PushMessage.ashx", items);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, 200);

    auto uploads = m_service->store().uploads();
    ASSERT_EQ(uploads.size(), 1u);
    EXPECT_EQ(uploads[0].to, "LW3600000001");
    EXPECT_EQ(uploads[0].msgType, "5");
    EXPECT_EQ(uploads[0].context, "(null)");
    auto stored = m_service->store().file(uploads[0].fileName);
    ASSERT_TRUE(stored);
    EXPECT_EQ(std::string(stored->begin(), stored->end()), std::string("#!AMR\n\x3c", 7));
}

TEST_F(FilesTest, UploadWithoutFileKeepsTheFields)
{
    httplib::MultipartFormDataItems items = { { "To", "LW3600000001", "", "" }, { "From", "lumet_demo", "", "" },
        { "MsgType", "5", "", "" }, { "Context", "(null)", "", "" }, { "IsTODevice", "true", "", "" } };
    ASSERT_EQ(m_client->Post("/server/PushMessage.ashx", items)->status, 200);
    auto uploads = m_service->store().uploads();
    ASSERT_EQ(uploads.size(), 1u);
    EXPECT_EQ(uploads[0].fileName, "");
    EXPECT_EQ(m_client->Post("/server/PushMessage.ashx", "To=x", "application/x-www-form-urlencoded")->status, 400);
}

TEST_F(FilesTest, AnUploadThatDoesNotFitItsFormIsRefusedAndNotKept)
{
    const httplib::MultipartFormDataItems whole = { { "To", "LW3600000001", "", "" }, { "From", "lumet_demo", "", "" },
        { "MsgType", "5", "", "" }, { "Context", "(null)", "", "" }, { "IsTODevice", "true", "", "" } };
    for (size_t left = 0; left < whole.size(); ++left) {
        auto items = whole;
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(left));
        EXPECT_EQ(m_client->Post("/server/PushMessage.ashx", items)->status, 500) << whole[left].name;
    }
    auto extra = whole;
    extra.push_back({ "Extra", "1", "", "" });
    EXPECT_EQ(m_client->Post("/server/PushMessage.ashx", extra)->status, 500);
    auto notToDevice = whole;
    notToDevice[4].content = "false";
    EXPECT_EQ(m_client->Post("/server/PushMessage.ashx", notToDevice)->status, 500);
    auto wordType = whole;
    wordType[2].content = "voice";
    EXPECT_EQ(m_client->Post("/server/PushMessage.ashx", wordType)->status, 500);
    EXPECT_TRUE(m_service->store().uploads().empty());
}

} // namespace
