// The number methods of the local tracking service: each writes the detail's fields of its device, the
// watch's methods keep the listen rule with the service's three refusal texts, and the Quenn numbers need
// the device's password.
#include "ServiceFixture.h"

#include "core/service/ServiceProtocol.h"
#include "tracking-service/DemoData.h"

#include <gtest/gtest.h>

namespace {

using tracking_service::DemoData;

class NumberMethodsTest : public ServiceFixture {
protected:
    void SetUp() override
    {
        ServiceFixture::SetUp();
        cookie = signIn();
    }

    std::string answer(const std::string& method, const std::string& body)
    {
        auto d = payload(call(method, body, cookie));
        return d && d->string() ? *d->string() : "<no text>";
    }

    std::string stored(const std::string& serial, const char* configuration, const char* key)
    {
        auto detail = m_service->store().document(serial, "detail");
        const base::Value* config = detail->dictionary()->objectForKey(configuration);
        const base::Value* value = config && config->dictionary() ? config->dictionary()->objectForKey(key) : nullptr;
        if (!value)
            return "<absent>";
        return value->isNull() ? "null" : value->stringValue();
    }

    std::string watchNumbers(
        const std::string& father, const std::string& mother, const std::string& sos, const std::string& listen)
    {
        return std::string(R"({"Serialnumber":")") + DemoData::WatchSerialNumber + R"(","ButtonNo1":")" + father
            + R"(","ButtonNo2":")" + mother + R"(","SOSNo":")" + sos + R"(","ListenNo":")" + listen + "\"}";
    }

    std::string cookie;
    const std::string accepted = core::ServiceProtocol::CommandAccepted;
};

TEST_F(NumberMethodsTest, TheWatchTakesNumbersThatKeepTheListenRule)
{
    EXPECT_EQ(answer("LumetSetManyPhoneConfig", watchNumbers("101", "102", "103", "104")), accepted);
    EXPECT_EQ(stored(DemoData::WatchSerialNumber, "LumetDevice_Config", "ButtonNo2"), "102");
    EXPECT_EQ(stored(DemoData::WatchSerialNumber, "LumetDevice_Config", "ListenNo"), "104");
    // Empty numbers never clash.
    EXPECT_EQ(answer("LumetSetManyPhoneConfig", watchNumbers("", "", "", "")), accepted);
}

TEST_F(NumberMethodsTest, EachClashWithTheListenNumberHasItsOwnRefusalAndChangesNothing)
{
    ASSERT_EQ(answer("LumetSetManyPhoneConfig", watchNumbers("101", "102", "103", "104")), accepted);
    EXPECT_EQ(answer("LumetSetManyPhoneConfig", watchNumbers("104", "102", "103", "104")),
        "亲情号码1不能与监听号码相同，设置失败");
    EXPECT_EQ(answer("LumetSetManyPhoneConfig", watchNumbers("101", "104", "103", "104")),
        "亲情号码2不能与监听号码相同，设置失败");
    EXPECT_EQ(answer("LumetSetManyPhoneConfig", watchNumbers("101", "102", "104", "104")),
        "监听号码不能与SOS号码相同，设置失败");
    EXPECT_EQ(answer("LumetSetListenNo",
                  std::string(R"({"Serialnumber":")") + DemoData::WatchSerialNumber + R"(","ListenNo":"102"})"),
        "亲情号码2不能与监听号码相同，设置失败");
    EXPECT_EQ(stored(DemoData::WatchSerialNumber, "LumetDevice_Config", "ButtonNo1"), "101");
    EXPECT_EQ(stored(DemoData::WatchSerialNumber, "LumetDevice_Config", "ListenNo"), "104");
}

TEST_F(NumberMethodsTest, TheRicherRequestWritesNumbersStatesNamesAndIcons)
{
    std::string body = std::string(R"({"Serialnumber":")") + DemoData::Watch44SerialNumber
        + R"(","ButtonNo1":"201","ButtonNo1_State":2,"ButtonNo1_Name":"Dad","ButtonNo1_Icon":"father",)"
          R"("ButtonNo2":"202","ButtonNo2_State":1,"ButtonNo2_Name":"Mum","ButtonNo2_Icon":"mother",)"
          R"("SOSNo":"203","SOSNo_State":null,"SOSNo_Name":null,"SOSNo_Icon":""})";
    EXPECT_EQ(answer("LumetSetManyPhoneConfig_V2", body), accepted);
    EXPECT_EQ(stored(DemoData::Watch44SerialNumber, "LumetDevice_Config", "ButtonNo1"), "201");
    EXPECT_EQ(stored(DemoData::Watch44SerialNumber, "LumetDevice_Config", "ButtonNo1_State"), "2");
    EXPECT_EQ(stored(DemoData::Watch44SerialNumber, "LumetDevice_Config", "SOSNo_State"), "null");
}

TEST_F(NumberMethodsTest, ParvoKeysQuennNumbersAndMorvikNumbersGoToTheirFields)
{
    std::string parvo = DemoData::ParvoSerialNumber;
    EXPECT_EQ(answer("ParvoSetAuthorizedPhoneNumber",
                  R"({"Serialnumber":")" + parvo
                      + R"(","ButtonNum":3,"phonenumberforreceivingSMS":"7","phonenumberforreceivingcall":"8"})"),
        accepted);
    EXPECT_EQ(stored(parvo, "ParvoDevice_Config", "Key2SMSNo"), "7");
    EXPECT_EQ(stored(parvo, "ParvoDevice_Config", "Key2CallNo"), "8");
    EXPECT_NE(
        answer("ParvoSetAuthorizedPhoneNumber", R"({"Serialnumber":")" + parvo + R"(","ButtonNum":5})"), accepted);
    EXPECT_EQ(answer("ParvoSetTelephoneNumberforWiretapping", R"({"Serialnumber":")" + parvo + R"(","TelNumber":"9"})"),
        accepted);
    EXPECT_EQ(stored(parvo, "ParvoDevice_Config", "ListenNum"), "9");

    std::string quenn = DemoData::Quenn3SerialNumber;
    std::string tels = R"(","Opt":"A","Tel1":"1","Tel2":"2","Tel3":"3","Tel4":"4"})";
    EXPECT_NE(
        answer("QuennSetPhoneNumber", R"({"Serialnumber":")" + quenn + R"(","Password":"000000)" + tels), accepted);
    EXPECT_EQ(
        answer("QuennSetPhoneNumber", R"({"Serialnumber":")" + quenn + R"(","Password":"580317)" + tels), accepted);
    EXPECT_EQ(stored(quenn, "Quenn_DeviceConfig", "SOSNum4"), "4");
    EXPECT_EQ(answer("QuennSetCenter", R"({"Serialnumber":")" + quenn + R"(","CenterNum":"5"})"), "中心号码设置成功");

    std::string morvik = DemoData::MorvikSerialNumber;
    EXPECT_EQ(answer("MorvikSetListen", R"({"Serialumber":")" + morvik + R"(","PhoneNum":"6"})"), accepted);
    EXPECT_NE(answer("MorvikSetListen", R"({"Serialnumber":")" + morvik + R"(","PhoneNum":"6"})"), accepted);
    EXPECT_EQ(answer("MorvikSetCenterNo", R"({"Serialnumber":")" + morvik + R"(","PhoneNum":"7"})"), accepted);
    EXPECT_EQ(stored(morvik, "ParvoDevice_Config", "CenterNum"), "7");
}

} // namespace
