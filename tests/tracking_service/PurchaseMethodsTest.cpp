// The permanent-service purchase: the receipt check and the store's record of the application.
#include "ServiceFixture.h"

#include "base/system/Bundle.h"
#include "base/values/Array.h"
#include "core/service/StoreLookupRoot.h"
#include "networking/forms/Base64.h"
#include "store/Receipt.h"
#include "json/JSONSerializer.h"

namespace {

using tracking_service::DemoData;

class PurchaseMethodsTest : public ServiceFixture {
protected:
    std::optional<base::Value> pay(const std::string& cookie, const std::string& serial, base::Value data)
    {
        auto body = base::Dictionary::make({ { "SerialNumber", serial }, { "Money", int64_t(60) },
            { "OrdId", base::Value::null() }, { "IsDebug", false }, { "Data", std::move(data) } });
        return payload(call("Apple_Device_Pay", json::JSONString(base::Value(body)).value_or(""), cookie));
    }

    const std::string receipt = networking::Base64::encode(std::string(store::Receipt::Marker) + "T1 a.b.Permanent\n");
};

TEST_F(PurchaseMethodsTest, AReceiptOfTheLocalStoreForADeviceOfTheAccountIsGrantedWithZero)
{
    std::string cookie = signIn();
    EXPECT_EQ(pay(cookie, DemoData::WatchSerialNumber, receipt), base::Value(int64_t(0)));
}

TEST_F(PurchaseMethodsTest, EverythingElseIsRefusedWithOne)
{
    std::string cookie = signIn();
    const base::Value refused(int64_t(1));
    EXPECT_EQ(pay(cookie, "NOT-OURS-1", receipt), refused);
    EXPECT_EQ(
        pay(cookie, DemoData::WatchSerialNumber, networking::Base64::encode("a receipt of elsewhere\n")), refused);
    EXPECT_EQ(pay(cookie, DemoData::WatchSerialNumber, base::Value("%%% not base64")), refused);
    EXPECT_FALSE(pay(cookie, DemoData::WatchSerialNumber, base::Value::null())) << "not the request's form";
    EXPECT_EQ(pay(cookie, DemoData::WatchSerialNumber, networking::Base64::encode(std::string(store::Receipt::Marker))),
        refused)
        << "a receipt without a purchase";
    EXPECT_FALSE(pay("", DemoData::WatchSerialNumber, receipt)) << "no session, no payload";
}

TEST_F(PurchaseMethodsTest, TheLookupAnswersThisBuildsVersionForTheApplicationOnly)
{
    auto record = [this](const std::string& id) {
        auto reply = m_client->Get(("/lookup?id=" + id).c_str());
        return reply ? json::objectFromJSONString(reply->body) : std::nullopt;
    };
    auto ours = record(core::StoreIdentifier);
    ASSERT_TRUE(ours && ours->dictionary());
    const auto& results = ours->dictionary()->objectForKey("results")->array();
    ASSERT_EQ(results->count(), 1u);
    EXPECT_EQ(
        *results->objectAtIndex(0).dictionary()->objectForKey("version"), base::Value(base::Bundle::main().version()));

    auto other = record("42");
    ASSERT_TRUE(other && other->dictionary());
    EXPECT_EQ(other->dictionary()->objectForKey("results")->array()->count(), 0u);
}

} // namespace
