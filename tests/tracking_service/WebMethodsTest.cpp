#include "ServiceFixture.h"

#include "base/values/Array.h"

using tracking_service::DemoData;

namespace {

using WebMethodsTest = ServiceFixture;

TEST_F(WebMethodsTest, LoginSetsTheSessionCookieAndAnswersOne)
{
    auto reply = call("Login", R"({"LoginName":"lumet_demo","Password":"demo1234","Token":"abc"})");
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->get_header_value("Content-Type"), "application/json; charset=utf-8");
    EXPECT_TRUE(reply->get_header_value("Set-Cookie").starts_with("LumetSession="));
    EXPECT_EQ(payload(reply), base::Value(1));
    EXPECT_EQ(m_service->store().pushToken(DemoData::AccountName), "abc");
}

TEST_F(WebMethodsTest, WrongPasswordIsRefusedWithoutSession)
{
    auto reply = call("Login", R"({"LoginName":"lumet_demo","Password":"nope","Token":""})");
    EXPECT_EQ(payload(reply), base::Value(0));
    EXPECT_FALSE(reply->has_header("Set-Cookie"));
}

TEST_F(WebMethodsTest, MethodsOtherThanSignInAndServerListNeedTheSession)
{
    EXPECT_EQ(call("GetDeviceList", R"({"LoginName":"lumet_demo"})")->status, 401);
    EXPECT_EQ(call("GetDeviceList", R"({"LoginName":"lumet_demo"})", "LumetSession=forged")->status, 401);
    EXPECT_EQ(call("GetDeviceList", R"({"LoginName":"lumet_demo"})", signIn())->status, 200);

    auto servers = payload(call("GetServerList", ""));
    ASSERT_TRUE(servers && servers->array());
    EXPECT_EQ(*servers->array()->objectAtIndex(0).dictionary()->objectForKey("Url"), base::Value(m_service->rootUrl()));
}

TEST_F(WebMethodsTest, CookieIsFoundAmongOtherCookies)
{
    std::string cookie = "theme=dark; " + signIn() + "; lang=en";
    EXPECT_EQ(call("LumetGetStepCount", R"({"Serialnumber":"LW3600000001"})", cookie)->status, 200);
}

TEST_F(WebMethodsTest, UnknownMethodAndBrokenBodyFail)
{
    std::string cookie = signIn();
    EXPECT_EQ(call("NoSuchMethod", "{}", cookie)->status, 500);
    EXPECT_EQ(call("GetDeviceList", "{not json", cookie)->status, 500);
    EXPECT_EQ(call("GetDeviceList", "[1]", cookie)->status, 500);
}

TEST_F(WebMethodsTest, DeviceListHoldsTheDemoTypesOfTheAccountOnly)
{
    std::string cookie = signIn();
    auto devices = payload(call("GetDeviceList", R"({"LoginName":"lumet_demo"})", cookie));
    ASSERT_TRUE(devices && devices->array());
    std::vector<long long> types;
    for (const base::Value& row : *devices->array()) {
        types.push_back(row.dictionary()->objectForKey("DeviceTypeID")->longLongValue());
        EXPECT_TRUE(row.dictionary()->objectForKey("SerialNumber")->isString());
        EXPECT_TRUE(row.dictionary()->objectForKey("DeviceOnLineState")->isNumber());
    }
    EXPECT_EQ(types, (std::vector<long long> { 36, 27, 41, 2, 13, 18, 3, 6, 4, 7, 16, 20, 21, 40, 43, 44 }));

    auto foreign = payload(call("GetDeviceList", R"({"LoginName":"someone_else"})", cookie));
    ASSERT_TRUE(foreign && foreign->array());
    EXPECT_EQ(foreign->array()->count(), 0u);
}

TEST_F(WebMethodsTest, DeviceDetailOnlyForTheAccountsDevices)
{
    m_service->store().addAccount("other", "pw");
    m_service->store().addDevice({ "OTHER0001", "other", "Other", 36, 1 });
    m_service->store().setDocument("OTHER0001", "detail", base::Dictionary::make({ { "SerialNumber", "OTHER0001" } }));
    std::string cookie = signIn();

    auto detail = payload(call("GetDeviceDetial", R"({"SerialNumber":"LW3600000001"})", cookie));
    ASSERT_TRUE(detail && detail->dictionary());
    const auto& config = detail->dictionary()->objectForKey("LumetDevice_Config")->dictionary();
    ASSERT_TRUE(config);
    EXPECT_TRUE(config->objectForKey("SOSNo_Name")->isNull());
    EXPECT_EQ(config->objectForKey("SOSNo_Icon"), nullptr);

    EXPECT_EQ(payload(call("GetDeviceDetial", R"({"SerialNumber":"OTHER0001"})", cookie)), base::Value::null());
    EXPECT_EQ(payload(call("GetDeviceDetial", R"({"SerialNumber":"NOPE"})", cookie)), base::Value::null());
}

TEST_F(WebMethodsTest, MessagesArePoppedOnceWithAbsoluteFileAddresses)
{
    std::string cookie = signIn();
    auto first = payload(call("PopManyQueryMessage", "", cookie));
    ASSERT_TRUE(first && first->array());
    ASSERT_EQ(first->array()->count(), 5u);
    const auto& voice = first->array()->objectAtIndex(2).dictionary();
    EXPECT_EQ(*voice->objectForKey("Desc"), base::Value("[Lumet_434B_Voice]"));
    EXPECT_EQ(*voice->objectForKey("Url"),
        base::Value(m_service->rootUrl() + "/Tools/LumetDow.ashx?FileName=" + DemoData::VoiceFileName));
    EXPECT_TRUE(voice->objectForKey("CreateTime")->string()->starts_with("/Date("));

    auto second = payload(call("PopManyQueryMessage", "", cookie));
    ASSERT_TRUE(second && second->array());
    EXPECT_EQ(second->array()->count(), 0u);
}

TEST_F(WebMethodsTest, AttendanceIsPagedByIndex)
{
    std::string cookie = signIn();
    auto page = [&](int size, int index) {
        auto rows = payload(call("LumetSearchCOW",
            R"({"opt":{"Serialnumber":"LW3600000001","PageSize":)" + std::to_string(size) + R"(,"PageIndex":)"
                + std::to_string(index) + R"(,"Date":"01/01/2014 00:00:00"}})",
            cookie));
        return rows && rows->array() ? rows->array()->count() : 999u;
    };
    // The application always asks for pages of 45 rows; the service takes no other size.
    EXPECT_EQ(page(45, 1), 10u);
    EXPECT_EQ(page(45, 2), 0u);
    EXPECT_EQ(call("LumetSearchCOW",
                  R"({"opt":{"Serialnumber":"LW3600000001","PageSize":4,"PageIndex":1,"Date":"01/01/2014 00:00:00"}})",
                  cookie)
                  ->status,
        500);
    EXPECT_EQ(
        payload(call("LumetSearchCOW",
            R"({"opt":{"Serialnumber":"NOPE","PageSize":45,"PageIndex":1,"Date":"01/01/2014 00:00:00"}})", cookie)),
        base::Value::null());
}

TEST_F(WebMethodsTest, WatchDocumentsAreServed)
{
    std::string cookie = signIn();
    std::string body = R"({"Serialnumber":"LW3600000001"})";
    auto clocks = payload(call("LumetGetalarmclock", body, cookie));
    ASSERT_TRUE(clocks && clocks->dictionary());
    EXPECT_EQ(clocks->dictionary()->objectForKey("LumetAlarmClockEntity")->array()->count(), 3u);
    auto book = payload(call("LumetGetPhoneBook_V2", body, cookie));
    ASSERT_TRUE(book && book->dictionary());
    EXPECT_EQ(book->dictionary()->objectForKey("PL")->array()->count(), 3u);
    auto timetable = payload(call("LumetGetClassInfo", body, cookie));
    ASSERT_TRUE(timetable && timetable->dictionary());
    EXPECT_EQ(timetable->dictionary()->objectForKey("Lumet_ClassInfoEntity")->array()->count(), 8u);
    EXPECT_EQ(payload(call("LumetGetStepCount", body, cookie)), base::Value(4321));
    EXPECT_EQ(payload(call("LumetGetStepCount", body, cookie)), base::Value(4921)) << "the watch walks on";
    EXPECT_EQ(payload(call("LumetGetStepCount", R"({"Serialnumber":"CT4100000001"})", cookie)), base::Value::null());
}

TEST_F(WebMethodsTest, PushTokenIsSaved)
{
    auto reply = call("SaveAppleToken", R"({"Token":" "})", signIn());
    EXPECT_EQ(payload(reply), base::Value("命令提交成功"));
    EXPECT_EQ(m_service->store().pushToken(DemoData::AccountName), " ");
}

TEST_F(WebMethodsTest, RequestsAreLoggedWithHeadersAndBody)
{
    std::string cookie = signIn();
    call("LumetGetStepCount", R"({"Serialnumber":"LW3600000001"})", cookie);
    auto requests = m_service->requestLog().requestsTo("LumetGetStepCount");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].httpMethod, "POST");
    EXPECT_EQ(requests[0].header("cookie"), cookie);
    EXPECT_EQ(requests[0].body, R"({"Serialnumber":"LW3600000001"})");
    EXPECT_EQ(m_service->requestLog().requests().size(), 2u);
}

// Unless a test asks for bodies, none is kept: they hold passwords and messages' texts.
TEST_F(WebMethodsTest, AServiceNotAskedForBodiesKeepsTheRequestsWithoutThem)
{
    test::TempDir folder;
    tracking_service::TrackingService service(folder.path());
    ASSERT_TRUE(service.start());
    httplib::Client client("127.0.0.1", service.port());
    ASSERT_TRUE(client.Post(methodPath("Login").c_str(),
        R"({"LoginName":"lumet_demo","Password":"demo1234","Token":"t"})", "application/json; charset=utf-8"));
    auto requests = service.requestLog().requestsTo("Login");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].header("Content-Type"), "application/json; charset=utf-8");
    EXPECT_EQ(requests[0].body, "");
}

TEST(RequestLog, KeepsNothingWhenOffAndTheLatestRequestsWithinItsBound)
{
    using tracking_service::RequestLog;
    RequestLog log;
    log.setRecording(RequestLog::Recording::Off);
    log.add({ "POST", "/p", "Login", {}, {}, "password" });
    EXPECT_TRUE(log.requests().empty());

    log.setRecording(RequestLog::Recording::WithBodies);
    const std::string body(1024 * 1024, 'x');
    const size_t added = 2 * RequestLog::ByteLimit / body.size();
    for (size_t i = 0; i < added; ++i)
        log.add({ "POST", "/p", std::to_string(i), {}, {}, body });
    auto kept = log.requests();
    ASSERT_FALSE(kept.empty());
    EXPECT_LE(kept.size() * body.size(), RequestLog::ByteLimit);
    EXPECT_EQ(kept.back().endpoint, std::to_string(added - 1));
    EXPECT_EQ(kept.back().body, body);
}

// A log that keeps no bodies keeps none of their memory either, and the bound counts the memory the texts have
// taken, not what they hold now.
TEST(RequestLog, HoldsNoMemoryOfBodiesItDropsAndCountsWhatItsTextsTake)
{
    using tracking_service::RequestLog;
    RequestLog log;
    const std::string upload(3 * 1024 * 1024, 'x');
    for (int i = 0; i < 50; ++i)
        log.add({ "POST", "/p", "Login", {}, {}, upload });
    EXPECT_EQ(log.requests().size(), 50u) << "none pushed out by memory it does not hold";
    EXPECT_LT(log.bytesHeld(), 50 * 1024u);

    log.clear();
    log.setRecording(RequestLog::Recording::WithBodies);
    for (int i = 0; i < 3; ++i) {
        std::string body = "short";
        body.reserve(RequestLog::ByteLimit / 2);
        log.add({ "POST", "/p", std::to_string(i), {}, {}, std::move(body) });
    }
    EXPECT_LE(log.bytesHeld(), RequestLog::ByteLimit);
    ASSERT_EQ(log.requests().size(), 1u);
    EXPECT_EQ(log.requests().front().endpoint, "2");
}

TEST_F(WebMethodsTest, StateOutlivesARestartAndDemoDataIsNotSeededTwice)
{
    std::string cookie = signIn();
    payload(call("PopManyQueryMessage", "", cookie));
    m_service->stop();
    m_service = std::make_unique<tracking_service::TrackingService>(m_folder.path());
    ASSERT_TRUE(m_service->start());
    m_client = std::make_unique<httplib::Client>("127.0.0.1", m_service->port());

    EXPECT_EQ(call("PopManyQueryMessage", "", cookie)->status, 200);
    auto messages = payload(call("PopManyQueryMessage", "", cookie));
    ASSERT_TRUE(messages && messages->array());
    EXPECT_EQ(messages->array()->count(), 0u);
    EXPECT_EQ(m_service->store().devicesOf(DemoData::AccountName).size(), 16u);
}

} // namespace
