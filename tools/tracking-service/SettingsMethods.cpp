#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "core/service/ServiceProtocol.h"
#include "tracking-service/ServiceMethods.h"
#include "tracking-service/ServiceRoutes.h"
#include "json/JSONDecoder.h"

#include <cstdio>

namespace tracking_service {

namespace {

    constexpr const char* lumetConfiguration = "LumetDevice_Config";

    // An integer parameter of the given range; nothing when absent, not a number or out of range.
    std::optional<int64_t> integerIn(const WebMethodCall& call, std::string_view key, int64_t low, int64_t high)
    {
        const base::Value* value = call.parameters ? call.parameters->objectForKey(key) : nullptr;
        if (!value || !value->isNumber())
            return std::nullopt;
        int64_t number = value->longLongValue();
        if (number < low || number > high)
            return std::nullopt;
        return number;
    }

    std::string timeText(int64_t hour, int64_t minute)
    {
        char text[8];
        std::snprintf(text, sizeof text, "%02lld:%02lld", static_cast<long long>(hour), static_cast<long long>(minute));
        return text;
    }

    base::Value refused() { return base::Value(Fault::DefaultRefusal); }
    base::Value accepted() { return base::Value(core::ServiceProtocol::CommandAccepted); }

    base::Value rename(WebMethodCall& call)
    {
        std::string serialNumber = call.text(WebMethodCall::SerialNumberKey);
        if (!call.ownsDevice(serialNumber) || !call.store.renameDevice(serialNumber, call.text("DeviceName")))
            return refused();
        return accepted();
    }

    // "power" 1 restarts the device, 0 switches it off.
    base::Value remotePower(WebMethodCall& call)
    {
        auto power = integerIn(call, "power", 0, 1);
        if (!power)
            return refused();
        return call.command({ { "", "DeviceState", base::Value(*power == 0 ? 1 : 0) } });
    }

    base::Value sleepTime(WebMethodCall& call)
    {
        auto flag = integerIn(call, "flag", 0, 1);
        auto openHour = integerIn(call, "OpenHour", 0, 23);
        auto openMin = integerIn(call, "OpenMin", 0, 59);
        auto closeHour = integerIn(call, "CloseHour", 0, 23);
        auto closeMin = integerIn(call, "CloseMin", 0, 59);
        if (!flag || !openHour || !openMin || !closeHour || !closeMin)
            return refused();
        return call.command({ { lumetConfiguration, "PowerState", base::Value(*flag) },
            { lumetConfiguration, "PowerOnTime", base::Value(timeText(*openHour, *openMin)) },
            { lumetConfiguration, "PowerOffTime", base::Value(timeText(*closeHour, *closeMin)) } });
    }

    base::Value firewall(WebMethodCall& call)
    {
        std::string flag = call.text("Flag");
        if (flag != "true" && flag != "false")
            return refused();
        return call.command({ { lumetConfiguration, "Fanghuoqiang", base::Value(flag) } });
    }

    base::Value keyLock(WebMethodCall& call)
    {
        auto lock = integerIn(call, "klock", 0, 1);
        if (!lock)
            return refused();
        return call.command({ { lumetConfiguration, "KeyLockState", base::Value(*lock) } });
    }

    // Only the signed-in account's own password changes, and only with the right old one; else null.
    base::Value updatePassword(WebMethodCall& call)
    {
        std::string account = call.text("LoginName");
        if (account != call.account || !call.store.checkPassword(account, call.text("old_pwd"))
            || !call.store.setPassword(account, call.text("new_pwd")))
            return base::Value::null();
        return accepted();
    }

    base::Value conversation(ServiceStore& store, const std::string& account)
    {
        auto messages = store.document(account, ServiceStore::FeedbackDocument);
        return messages && messages->array() ? *messages : base::Value(base::Array::make());
    }

    base::Value reply(base::Value messages) { return base::Dictionary::make({ { "messages", std::move(messages) } }); }

} // namespace

void addSettingsMethods(WebMethodTable& table)
{
    using Access = WebMethodTable::Access;
    table.add("UpdateDeviceName", Access::SignedIn, rename);
    table.add("LumetFactory", Access::SignedIn,
        [](WebMethodCall& call) { return call.command([](base::MutableDictionary&) { return true; }); });
    table.add("LumetRemotePowerSet", Access::SignedIn, remotePower);
    table.add("LumetSetSleepTime", Access::SignedIn, sleepTime);
    table.add("LumetFireWallSetting", Access::SignedIn, firewall);
    table.add("LumetKeylockSet", Access::SignedIn, keyLock);
    table.add("UpdatePassword", Access::SignedIn, updatePassword);
}

RouteReply answerFeedbackConversation(ServiceStore& store, const RouteRequest& request)
{
    if (request.httpMethod != "POST")
        return { 200, reply(conversation(store, request.account)) };
    auto message = json::objectFromJSONString(request.body);
    if (!message || !message->dictionary())
        return { 400, base::Dictionary::make({ { "Message", "Expected a JSON object." } }) };
    auto all = store.appendToDocument(request.account, ServiceStore::FeedbackDocument, *message);
    if (!all)
        return { 500, base::Dictionary::make({ { "Message", "The message could not be kept." } }) };
    return { 200, reply(std::move(*all)) };
}

} // namespace tracking_service
