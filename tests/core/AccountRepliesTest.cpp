// What the sign-in reads of the service's replies: whether the sign-in was accepted, whatever kind the
// payload has; the account's devices; and the session cookie of the "Set-Cookie" header, which may join
// several cookies and carry dates with commas in them.
#include "core/service/SessionCookie.h"
#include "core/readers/Tool.h"

#include <gtest/gtest.h>

using core::SessionCookie;
using core::Tool;

namespace {

TEST(SignInReply, OnlyTheNumberOneIsAnAcceptedSignIn)
{
    EXPECT_TRUE(Tool::readLoginResultFromJson(R"({"d":1})"));
    for (const char* refusal : { R"({"d":0})", R"({"d":2})", R"({"d":"1"})", R"({"d":null})", R"({"d":true})",
             R"({"d":1.5})", R"({"e":1})", R"([1])", "not json", "", "   " })
        EXPECT_FALSE(Tool::readLoginResultFromJson(refusal)) << refusal;
}

TEST(DeviceListReply, RowsInOrderAndRowsWithoutASerialNumberPassedOver)
{
    auto devices = Tool::readDeviceListFromJson(R"({"d":[
        {"SerialNumber":"A1","DeviceName":"Watch","DeviceTypeID":36,"DeviceOnLineState":1},
        {"DeviceName":"no serial","DeviceTypeID":2},
        "not a row",
        {"SerialNumber":"","DeviceTypeID":2},
        {"SerialNumber":"B2","DeviceTypeID":"41","DeviceName":null}]})");
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0]->serialNumber, "A1");
    EXPECT_EQ(devices[0]->DeviceName, "Watch");
    EXPECT_EQ(devices[0]->deviceTypeID, 36);
    EXPECT_EQ(devices[0]->deviceOnlineState, 1);
    EXPECT_EQ(devices[1]->serialNumber, "B2");
    EXPECT_EQ(devices[1]->deviceTypeID, 41);
    EXPECT_FALSE(devices[1]->DeviceName);
    EXPECT_FALSE(devices[1]->deviceOnlineState);

    for (const char* empty : { R"({"d":null})", R"({"d":{}})", R"({"d":"x"})", "", "<html>" })
        EXPECT_TRUE(Tool::readDeviceListFromJson(empty).empty()) << empty;
}

TEST(SessionCookie, KeepsTheNameValuePairsAndDropsTheAttributes)
{
    EXPECT_EQ(SessionCookie::fromSetCookie("LumetSession=abc123; path=/; HttpOnly"), "LumetSession=abc123");
    EXPECT_EQ(
        SessionCookie::fromSetCookie("a=1; Expires=Wed, 09 Jun 2021 10:18:14 GMT; Path=/, b=2; Secure"), "a=1; b=2");
    EXPECT_EQ(SessionCookie::fromSetCookie("  token=x=y ;path=/"), "token=x=y");
    EXPECT_EQ(SessionCookie::fromSetCookie("empty=; Path=/"), "empty=");
    for (const char* none : { "", "   ", "; path=/", "=nameless", "no pair here", ", , " })
        EXPECT_EQ(SessionCookie::fromSetCookie(none), "") << none;
}

} // namespace
