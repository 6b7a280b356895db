// What the sign-in reads of the service's replies: whether the sign-in was accepted, refused or not answered,
// whatever kind the payload has; the account's devices, and whether the reply held a list at all; and the
// session cookie of the "Set-Cookie" header, which may join several cookies and carry dates with commas in
// them.
#include "core/service/SessionCookie.h"
#include "core/readers/Tool.h"

#include <gtest/gtest.h>

using core::SessionCookie;
using core::Tool;

namespace {

TEST(SignInReply, OnlyTheNumberOneAcceptsAndOnlyAnotherNumberRefuses)
{
    base::Error error;
    EXPECT_TRUE(Tool::readLoginResultFromJson(R"({"d":1})", &error));
    EXPECT_TRUE(error.isEmpty());
    for (const char* refusal : { R"({"d":0})", R"({"d":2})", R"({"d":-1})" }) {
        base::Error none;
        EXPECT_FALSE(Tool::readLoginResultFromJson(refusal, &none)) << refusal;
        EXPECT_TRUE(none.isEmpty()) << refusal << " is the service's refusal";
    }
    for (const char* noVerdict : { R"({"d":"1"})", R"({"d":"2"})", R"({"d":null})", R"({"d":true})", R"({"d":1.5})",
             R"({"d":{}})", R"({"d":[1,2]})", R"({})", R"({"e":1})", R"([1,2])", R"("2")", "not json", "", "   " }) {
        base::Error unreadable;
        EXPECT_FALSE(Tool::readLoginResultFromJson(noVerdict, &unreadable)) << noVerdict;
        EXPECT_EQ(unreadable.code(), base::Error::URLCannotParseResponse) << noVerdict << " holds no verdict";
    }
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

    base::Error none;
    EXPECT_TRUE(Tool::readDeviceListFromJson(R"({"d":[]})", &none).empty());
    EXPECT_TRUE(none.isEmpty()) << "a readable empty list";
    for (const char* noList : { R"({"d":null})", R"({"d":{}})", R"({"d":"x"})", R"({})", "", "<html>" }) {
        base::Error unreadable;
        EXPECT_TRUE(Tool::readDeviceListFromJson(noList, &unreadable).empty()) << noList;
        EXPECT_EQ(unreadable.code(), base::Error::URLCannotParseResponse) << noList << " holds no list";
    }
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
