#include "tracking-service/ServiceMethods.h"

#include "base/values/Dictionary.h"
#include "core/service/ServiceProtocol.h"

namespace tracking_service {

namespace {

    constexpr const char* Lumet = "LumetDevice_Config";
    constexpr const char* Parvo = "ParvoDevice_Config";
    constexpr const char* Quenn = "Quenn_DeviceConfig";
    constexpr const char* QuennPassword = "580317";
    constexpr const char* ListenEqualsFather = "亲情号码1不能与监听号码相同，设置失败";
    constexpr const char* ListenEqualsMother = "亲情号码2不能与监听号码相同，设置失败";
    constexpr const char* ListenEqualsSOS = "监听号码不能与SOS号码相同，设置失败";
    constexpr const char* CenterNumberSet = "中心号码设置成功";

    std::string textIn(const base::Dictionary& object, const char* key)
    {
        const base::Value* value = object.objectForKey(key);
        const std::string* text = value ? value->string() : nullptr;
        return text ? *text : std::string();
    }

    // The watch refuses a listen number equal to one of the family or SOS numbers; empty numbers never clash.
    std::optional<std::string> listenClash(
        const std::string& father, const std::string& mother, const std::string& sos, const std::string& listen)
    {
        if (listen.empty())
            return std::nullopt;
        if (listen == father)
            return ListenEqualsFather;
        if (listen == mother)
            return ListenEqualsMother;
        if (listen == sos)
            return ListenEqualsSOS;
        return std::nullopt;
    }

    // A changeable copy of one configuration of a detail; empty when it is null or absent.
    std::shared_ptr<base::MutableDictionary> configurationIn(const base::MutableDictionary& detail, const char* name)
    {
        const base::Value* value = detail.objectForKey(name);
        const base::DictionaryRef& stored = value ? value->dictionary() : nullptr;
        if (!stored)
            return nullptr;
        auto copy = base::MutableDictionary::make();
        for (auto [key, field] : *stored)
            copy->setObject(*field, *key);
        return copy;
    }

    // Sets the watch's numbers when they keep the listen rule; the refusal names the clash.
    base::Value setLumetNumbers(WebMethodCall& call, std::vector<std::pair<const char*, base::Value>> numbers)
    {
        std::optional<std::string> clash;
        auto change = [&](base::MutableDictionary& detail) {
            auto config = configurationIn(detail, Lumet);
            if (!config)
                return false;
            auto after = [&](const char* key) {
                for (const auto& [name, value] : numbers) {
                    if (std::string_view(name) == key)
                        return value.string() ? *value.string() : std::string();
                }
                return textIn(*config, key);
            };
            clash = listenClash(after("ButtonNo1"), after("ButtonNo2"), after("SOSNo"), after("ListenNo"));
            if (clash)
                return false;
            for (auto& [name, value] : numbers)
                config->setObject(value, name);
            detail.setObject(base::Value(config->copy()), Lumet);
            return true;
        };
        base::Value answer = call.command(change);
        return clash ? base::Value(*clash) : answer;
    }

    base::Value parameter(const WebMethodCall& call, const char* key)
    {
        const base::Value* value = call.parameters ? call.parameters->objectForKey(key) : nullptr;
        return value ? *value : base::Value::null();
    }

    base::Value manyPhoneConfig(WebMethodCall& call)
    {
        return setLumetNumbers(call,
            { { "ButtonNo1", parameter(call, "ButtonNo1") }, { "ButtonNo2", parameter(call, "ButtonNo2") },
                { "SOSNo", parameter(call, "SOSNo") }, { "ListenNo", parameter(call, "ListenNo") } });
    }

    base::Value manyPhoneConfigV2(WebMethodCall& call)
    {
        std::vector<std::pair<const char*, base::Value>> fields;
        for (const char* key :
            { "ButtonNo1", "ButtonNo1_State", "ButtonNo1_Name", "ButtonNo1_Icon", "ButtonNo2", "ButtonNo2_State",
                "ButtonNo2_Name", "ButtonNo2_Icon", "SOSNo", "SOSNo_State", "SOSNo_Name", "SOSNo_Icon" })
            fields.emplace_back(key, parameter(call, key));
        return setLumetNumbers(call, std::move(fields));
    }

    base::Value listenNo(WebMethodCall& call)
    {
        return setLumetNumbers(call, { { "ListenNo", parameter(call, "ListenNo") } });
    }

    // "ButtonNum" 1 is the SOS key, 2 to 4 the keys 1 to 3.
    base::Value parvoAuthorised(WebMethodCall& call)
    {
        const base::Value* key = call.parameters ? call.parameters->objectForKey("ButtonNum") : nullptr;
        long long k = key ? key->longLongValue() : 0;
        if (k < 1 || k > 4)
            return base::Value(Fault::DefaultRefusal);
        std::string prefix = k == 1 ? "KeySOS" : "Key" + std::to_string(k - 1);
        return call.command({ { Parvo, prefix + "SMSNo", base::Value(call.text("phonenumberforreceivingSMS")) },
            { Parvo, prefix + "CallNo", base::Value(call.text("phonenumberforreceivingcall")) } });
    }

    base::Value parvoListen(WebMethodCall& call)
    {
        return call.command({ { Parvo, "ListenNum", base::Value(call.text("TelNumber")) } });
    }

    base::Value quennPhoneNumbers(WebMethodCall& call)
    {
        if (call.text("Password") != QuennPassword || call.text("Opt") != "A")
            return base::Value(Fault::DefaultRefusal);
        std::vector<DetailField> fields;
        for (int i = 1; i <= 4; ++i)
            fields.push_back(
                { Quenn, "SOSNum" + std::to_string(i), parameter(call, ("Tel" + std::to_string(i)).c_str()) });
        return call.command(fields);
    }

    base::Value quennCenter(WebMethodCall& call)
    {
        base::Value answer = call.command({ { Quenn, "CenterNum", base::Value(call.text("CenterNum")) } });
        const std::string* text = answer.string();
        return text && *text == core::ServiceProtocol::CommandAccepted ? base::Value(CenterNumberSet) : answer;
    }

    // The Morvik tracker keeps its numbers beside its upload interval; its listen method spells the serial
    // number's key "Serialumber".
    base::Value morvikListen(WebMethodCall& call)
    {
        return call.command(
            { { Parvo, "ListenNum", base::Value(call.text("PhoneNum")) } }, Fault::DefaultRefusal, "Serialumber");
    }

    base::Value morvikCenter(WebMethodCall& call)
    {
        return call.command({ { Parvo, "CenterNum", base::Value(call.text("PhoneNum")) } });
    }

} // namespace

void addNumberMethods(WebMethodTable& table)
{
    using Access = WebMethodTable::Access;
    table.add("ParvoSetAuthorizedPhoneNumber", Access::SignedIn, parvoAuthorised);
    table.add("ParvoSetTelephoneNumberforWiretapping", Access::SignedIn, parvoListen);
    table.add("QuennSetPhoneNumber", Access::SignedIn, quennPhoneNumbers);
    table.add("QuennSetCenter", Access::SignedIn, quennCenter);
    table.add("LumetSetManyPhoneConfig", Access::SignedIn, manyPhoneConfig);
    table.add("LumetSetManyPhoneConfig_V2", Access::SignedIn, manyPhoneConfigV2);
    table.add("LumetSetListenNo", Access::SignedIn, listenNo);
    table.add("MorvikSetListen", Access::SignedIn, morvikListen);
    table.add("MorvikSetCenterNo", Access::SignedIn, morvikCenter);
}

} // namespace tracking_service
