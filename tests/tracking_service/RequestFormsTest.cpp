#include "ServiceFixture.h"

#include "base/system/Log.h"
#include "base/values/Array.h"
#include "tracking-service/ServiceMethods.h"
#include "tracking-service/WebMethodRequests.h"
#include "json/JSONSerializer.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>
#include <vector>

using tracking_service::DemoData;
using tracking_service::RequestForm;
using tracking_service::WireField;
namespace wire = tracking_service::wire;

namespace {

// A request body that fits the form, with the demo watch wherever a device is named.
base::Value sample(const WireField& field);

base::Value sampleObject(const std::vector<WireField>& members)
{
    auto object = base::MutableDictionary::make();
    for (const WireField& member : members)
        object->setObject(sample(member), member.key);
    return base::Value(object->copy());
}

base::Value sample(const WireField& field)
{
    if (!field.allowed.empty())
        return field.allowed.front();
    if (field.kinds & wire::Text) {
        bool namesDevice = field.key.find("erial") != std::string::npos || field.key == "_id";
        return base::Value(namesDevice ? DemoData::WatchSerialNumber : "1");
    }
    if (field.kinds & wire::Number)
        return base::Value(1);
    if (field.kinds & wire::Boolean)
        return base::Value(false);
    if (field.kinds & wire::Object)
        return sampleObject(field.members);
    if (field.kinds & wire::Array)
        return base::Array::make(
            { field.elementKinds & wire::Object ? sampleObject(field.members) : base::Value("1") });
    return base::Value::null();
}

// A value of a kind the field does not take.
base::Value wrongKindFor(const WireField& field)
{
    const base::Value candidates[] = { base::Value("x"), base::Value(7), base::Value(true), base::Value::null(),
        base::Value(base::Dictionary::make()), base::Value(base::Array::make()) };
    for (const base::Value& candidate : candidates) {
        if (!(field.kinds & tracking_service::kindOf(candidate)))
            return candidate;
    }
    ADD_FAILURE() << "the field \"" << field.key << "\" takes every kind";
    return base::Value::null();
}

struct Variant {
    std::string what;
    base::Value body;
};

base::Value replaced(const base::Value& object, const std::string& key, std::optional<base::Value> value)
{
    auto copy = object.dictionary()->mutableCopy();
    if (value)
        copy->setObject(std::move(*value), key);
    else
        copy->removeObjectForKey(key);
    return base::Value(copy->copy());
}

// Every wrong form of an object of `members`: each key missing, each key of a wrong kind, one key too many,
// and the same inside each object and each array of objects it holds.
std::vector<Variant> wrongObjects(const std::vector<WireField>& members, const std::string& path)
{
    base::Value right = sampleObject(members);
    std::vector<Variant> variants;
    variants.push_back({ path + " with an extra key", replaced(right, "Extra", base::Value(1)) });
    for (const WireField& member : members) {
        std::string at = path + "." + member.key;
        variants.push_back({ at + " missing", replaced(right, member.key, std::nullopt) });
        variants.push_back({ at + " of a wrong kind", replaced(right, member.key, wrongKindFor(member)) });
        if (member.members.empty())
            continue;
        for (Variant& inner : wrongObjects(member.members, at)) {
            base::Value nested
                = member.kinds & wire::Array ? base::Value(base::Array::make({ inner.body })) : inner.body;
            variants.push_back({ inner.what, replaced(right, member.key, nested) });
        }
    }
    return variants;
}

std::string encoded(const base::Value& body) { return json::JSONString(body).value_or(""); }

class RequestFormsTest : public ServiceFixture {
protected:
    void SetUp() override
    {
        ServiceFixture::SetUp();
        m_cookie = signIn();
    }

    std::string m_cookie;
};

TEST_F(RequestFormsTest, EveryWebMethodHasOneRequestForm)
{
    tracking_service::WebMethodTable methods;
    tracking_service::addAccountMethods(methods);
    tracking_service::addDeviceMethods(methods);
    tracking_service::addMessageMethods(methods);
    tracking_service::addChatMethods(methods);
    tracking_service::addSettingsMethods(methods);
    tracking_service::addNumberMethods(methods);
    tracking_service::addPhoneBookMethods(methods);
    tracking_service::addAttendanceMethods(methods);
    tracking_service::addScheduleMethods(methods);
    tracking_service::addChallengeMethods(methods);
    tracking_service::addPurchaseMethods(methods);

    std::set<std::string> formed;
    for (const auto& [name, form] : tracking_service::webMethodRequests())
        formed.insert(name);
    auto names = methods.names();
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), formed);
    EXPECT_EQ(formed.size(), 42u);
}

// Every wrong form of every method's request is refused by the method's form; over the wire the service
// refuses each method's first and most deeply nested wrong form with the form's reason, logged and answered
// in one line. (Sending all of them over the wire adds nothing the form does not show, at hundreds of calls.)
TEST_F(RequestFormsTest, RefusesEveryMethodsRequestWithAMissingExtraOrWrongKindKey)
{
    base::Log::ScopedCapture capture;
    auto expectRefusedOverTheWire = [&](const std::string& name, const Variant& variant, const std::string& reason) {
        auto reply = call(name, encoded(variant.body), m_cookie);
        ASSERT_TRUE(reply) << variant.what;
        EXPECT_EQ(reply->status, 500) << variant.what;
        EXPECT_FALSE(payload(reply)) << variant.what;
        EXPECT_EQ(reply->body.find('\n'), std::string::npos) << variant.what;
        if (!reason.empty()) {
            EXPECT_TRUE(capture.contains(name + " refused (500): " + reason)) << variant.what;
        }
    };
    auto depth = [](const Variant& variant) { return std::count(variant.what.begin(), variant.what.end(), '.'); };

    std::map<std::string, std::string> reasons; // of each wrong form
    for (const auto& [name, form] : tracking_service::webMethodRequests()) {
        if (!form.hasBody) {
            expectRefusedOverTheWire(
                name, { name + " with a body", base::Value(base::Dictionary::make({ { "Extra", 1 } })) }, "");
            continue;
        }
        std::vector<Variant> variants = wrongObjects(form.fields, name);
        for (const Variant& variant : variants) {
            std::optional<std::string> reason = form.mismatch(variant.body.dictionary());
            EXPECT_TRUE(reason) << variant.what;
            reasons[variant.what] = reason.value_or("");
        }
        const Variant& deepest = *std::max_element(
            variants.begin(), variants.end(), [&](const Variant& a, const Variant& b) { return depth(a) < depth(b); });
        for (const Variant* sent : std::initializer_list<const Variant*> { &variants.front(), &deepest })
            expectRefusedOverTheWire(name, *sent, form.mismatch(sent->body.dictionary()).value_or("?"));
    }
    EXPECT_GT(reasons.size(), 300u);
    EXPECT_EQ(
        reasons["Lumet0SetAlarmclock.LumetAlarmClock._id missing"], "Missing parameter \"LumetAlarmClock\".\"_id\".");
}

TEST_F(RequestFormsTest, AnswersEveryMethodsRightRequestWithItsReply)
{
    for (const auto& [name, form] : tracking_service::webMethodRequests()) {
        if (name == "Login")
            continue;
        auto reply = call(name, form.hasBody ? encoded(sampleObject(form.fields)) : "", m_cookie);
        ASSERT_TRUE(reply) << name;
        EXPECT_EQ(reply->status, 200) << name << ": " << reply->body;
        EXPECT_TRUE(payload(reply)) << name;
    }
}

TEST_F(RequestFormsTest, RefusesAValueTheMethodDoesNotTakeWithoutRepeatingIt)
{
    base::Log::ScopedCapture capture;
    auto reply = call("QuennSetPhoneNumber",
        R"({"Serialnumber":"QN0300000001","Password":"hunter22","Opt":"A","Tel1":"","Tel2":"","Tel3":"","Tel4":""})",
        m_cookie);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, 500);
    EXPECT_NE(reply->body.find("\\\"Password\\\""), std::string::npos) << reply->body;
    EXPECT_EQ(reply->body.find("hunter22"), std::string::npos);
    EXPECT_FALSE(capture.contains("hunter22"));

    EXPECT_EQ(call("LumetKeylockSet", R"({"Serialnumber":"LW4300000001","klock":2})", m_cookie)->status, 500);
    EXPECT_EQ(call("LumetKeylockSet", R"({"Serialnumber":"LW4300000001","klock":1.0})", m_cookie)->status, 200);
    EXPECT_EQ(call("LumetKeylockSet", R"({"Serialnumber":"LW4300000001","klock":true})", m_cookie)->status, 500);
}

// Every request declares its JSON, in UTF-8 where it names a charset: the body-less poll as much as a request
// with a body.
TEST_F(RequestFormsTest, RefusesARequestNotDeclaredAsJSONInUTF8)
{
    const std::string body = R"({"SerialNumber":"LW3600000001"})";
    const struct {
        const char* contentType;
        const char* refusal; // empty: taken
    } cases[] = {
        { "application/json; charset=utf-8", "" },
        { "application/json; charset=utf8", "" },
        { "Application/JSON;charset=UTF-8", "" },
        { "application/json; charset=\"Utf8\"", "" },
        { "application/json", "" },
        { "text/plain", "content type must be" },
        { "application/x-www-form-urlencoded", "content type must be" },
        { "text/html; charset=utf-8", "content type must be" },
        { "application/jsonp", "content type must be" },
        { "", "content type must be" },
        { "application/json; charset=iso-8859-1", "charset must be UTF-8" },
        { "application/json; charset=\"utf-16\"", "charset must be UTF-8" },
        { "application/json; charset=gbk", "charset must be UTF-8" },
        { "application/json; charset=", "charset must be UTF-8" },
        { "application/json; charset=\"\"", "charset must be UTF-8" },
    };
    const std::pair<std::string, std::string> requests[]
        = { { "GetDeviceDetial", body }, { "PopManyQueryMessage", "" } };
    for (auto [contentType, refusal] : cases) {
        for (const auto& [method, sent] : requests) {
            SCOPED_TRACE(method + " / " + contentType);
            base::Log::ScopedCapture capture;
            httplib::Headers headers { { "Cookie", m_cookie } };
            auto reply = m_client->Post(methodPath(method).c_str(), headers, sent, contentType);
            ASSERT_TRUE(reply);
            EXPECT_EQ(reply->status, *refusal ? 500 : 200);
            EXPECT_EQ(capture.contains(method + " refused (500): The request's " + refusal), *refusal != 0);
        }
    }
}

TEST_F(RequestFormsTest, KeepsTheServicesOwnSpellings)
{
    EXPECT_EQ(call("MorvikSetListen", R"({"Serialnumber":"MV0400000001","PhoneNum":"1"})", m_cookie)->status, 500);
    EXPECT_EQ(call("MorvikSetListen", R"({"Serialumber":"MV0400000001","PhoneNum":"1"})", m_cookie)->status, 200);
    EXPECT_EQ(call("GetDeviceDetial", R"({"Serialnumber":"LW3600000001"})", m_cookie)->status, 500);
    EXPECT_EQ(call("GetDeviceDetial", R"({"SerialNumber":"LW3600000001"})", m_cookie)->status, 200);
    EXPECT_EQ(call("GetDeviceDetail", R"({"SerialNumber":"LW3600000001"})", m_cookie)->status, 500);
}

TEST_F(RequestFormsTest, ARefusedRequestChangesNothing)
{
    auto before
        = m_service->store().document(DemoData::Watch43SerialNumber, tracking_service::ServiceStore::DetailDocument);
    auto reply = call("LumetKeylockSet", R"({"Serialnumber":"LW4300000001","klock":0,"Extra":true})", m_cookie);
    EXPECT_EQ(reply->status, 500);
    EXPECT_EQ(
        m_service->store().document(DemoData::Watch43SerialNumber, tracking_service::ServiceStore::DetailDocument),
        before);
}

} // namespace
