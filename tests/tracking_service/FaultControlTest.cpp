#include "ServiceFixture.h"

#include "base/values/Array.h"
#include "tracking-service/FaultText.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>

using tracking_service::Fault;
using tracking_service::FaultText;
using tracking_service::TrackingService;

namespace {

TEST(FaultText, ReadsEveryKindAndItsArgument)
{
    auto status = FaultText::parse("GetDeviceDetial=status:503");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->endpoint, "GetDeviceDetial");
    EXPECT_EQ(status->fault.kind, Fault::Kind::Status);
    EXPECT_EQ(status->fault.statusCode, 503);

    EXPECT_EQ(FaultText::parse("*=drop")->fault.kind, Fault::Kind::DropConnection);
    EXPECT_EQ(FaultText::parse("*=drop")->endpoint, "*");
    EXPECT_EQ(FaultText::parse("Login=non-json")->fault.kind, Fault::Kind::NonJsonBody);
    EXPECT_EQ(FaultText::parse("Login=no-payload")->fault.kind, Fault::Kind::NoPayload);
    EXPECT_EQ(FaultText::parse("Login=null-payload")->fault.kind, Fault::Kind::NullPayload);
    EXPECT_EQ(FaultText::parse("Login=refusal")->fault.refusalText, Fault::DefaultRefusal);
    EXPECT_EQ(FaultText::parse("Login=refusal:no: not today")->fault.refusalText, "no: not today");
    EXPECT_EQ(FaultText::parse("Login=delay:2500")->fault.duration, std::chrono::milliseconds(2500));
    EXPECT_EQ(FaultText::parse("LumetGetStepCount=payload:true")->fault.value, base::Value(true));
    EXPECT_EQ(FaultText::parse("LumetGetStepCount=payload:[1,2]")->fault.value.array()->count(), 2u);
}

TEST(FaultText, RefusesWhatItCannotRead)
{
    for (const char* text :
        { "", "Login", "=drop", "Login=", "Login=explode", "Login=status", "Login=status:99", "Login=status:600",
            "Login=status:5x", "Login=delay:-1", "Login=delay:", "Login=drop:1", "Login=payload:{broken" }) {
        std::string error;
        EXPECT_FALSE(FaultText::parse(text, &error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
}

class FaultControlTest : public ServiceFixture {
protected:
    httplib::Result order(const std::string& faultText)
    {
        return m_client->Post(TrackingService::FaultControlPath, faultText, "text/plain");
    }
};

TEST_F(FaultControlTest, SetsAndLiftsFaultsWhileRunning)
{
    std::string cookie = signIn();
    const std::string body = R"({"Serialnumber":"LW3600000001"})";
    EXPECT_EQ(order("LumetGetStepCount=status:503")->status, 200);
    EXPECT_EQ(order("*=refusal:busy")->status, 200);
    EXPECT_EQ(call("LumetGetStepCount", body, cookie)->status, 503);
    EXPECT_EQ(payload(call("GetDeviceDetial", body, cookie)), base::Value("busy"));

    EXPECT_EQ(m_client->Delete((std::string(TrackingService::FaultControlPath) + "?endpoint=LumetGetStepCount").c_str())
                  ->status,
        200);
    EXPECT_EQ(payload(call("LumetGetStepCount", body, cookie)), base::Value("busy"));
    EXPECT_EQ(m_client->Delete(TrackingService::FaultControlPath)->status, 200);
    EXPECT_EQ(call("LumetGetStepCount", body, cookie)->status, 200);
    EXPECT_NE(payload(call("GetDeviceDetial", body, cookie)), base::Value("busy"));
    for (const auto& request : m_service->requestLog().requests())
        EXPECT_NE(request.path, TrackingService::FaultControlPath) << "orders are not requests of the service";
}

TEST_F(FaultControlTest, RefusesAnOrderItCannotReadAndKeepsThePlan)
{
    auto reply = order("Login=explode");
    EXPECT_EQ(reply->status, 400);
    EXPECT_FALSE(m_service->faults().faultFor("Login"));
}

// The first non-loopback IPv4 address of this machine, if it has one.
std::optional<std::string> outwardAddress()
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return std::nullopt;
    std::optional<std::string> found;
    for (ifaddrs* entry = list; entry && !found; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET || (entry->ifa_flags & IFF_LOOPBACK)
            || !(entry->ifa_flags & IFF_UP))
            continue;
        char text[INET_ADDRSTRLEN] = {};
        auto* address = reinterpret_cast<sockaddr_in*>(entry->ifa_addr);
        if (inet_ntop(AF_INET, &address->sin_addr, text, sizeof text))
            found = text;
    }
    freeifaddrs(list);
    return found;
}

TEST(FaultControl, RefusesOrdersFromAnotherMachinesAddress)
{
    auto address = outwardAddress();
    if (!address)
        GTEST_SKIP() << "this machine has no address but loopback";
    test::TempDir folder;
    TrackingService service(folder.path());
    if (!service.start(*address))
        GTEST_SKIP() << "cannot serve on " << *address;
    httplib::Client client(*address, service.port());
    client.set_read_timeout(5, 0);
    auto reply = client.Post(TrackingService::FaultControlPath, "Login=status:500", "text/plain");
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, 403);
    EXPECT_FALSE(service.faults().faultFor("Login"));
}

} // namespace
