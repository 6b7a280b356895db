#include "tracking-service/ServiceMethods.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace tracking_service {

namespace {

    constexpr const char* WatchConfig = "LumetDevice_Config";
    constexpr const char* TrackerConfig = "ParvoDevice_Config";
    // The start request's answers: the watch took the challenge on, or it did not (switched off, busy).
    constexpr const char* Started = "0";
    constexpr const char* NotStarted = "1";
    constexpr int64_t SwitchedOff = 1;

    int64_t integerField(const base::DictionaryRef& fields, const char* key)
    {
        const base::Value* value = fields ? fields->objectForKey(key) : nullptr;
        return value && value->isNumber() ? value->longLongValue() : 0;
    }

    base::DictionaryRef detailOf(WebMethodCall& call, const std::string& serialNumber)
    {
        auto detail = call.store.document(serialNumber, ServiceStore::DetailDocument);
        return detail ? detail->dictionary() : nullptr;
    }

    // A positive number parameter; 0 for anything else.
    int64_t positiveNumber(const WebMethodCall& call, const char* key)
    {
        int64_t value = integerField(call.parameters, key);
        return value > 0 ? value : 0;
    }

    // A watch that is switched on, of the watch model, and not walking a challenge already.
    bool canStartChallenge(const base::DictionaryRef& detail)
    {
        const base::Value* config = detail ? detail->objectForKey(WatchConfig) : nullptr;
        if (!config || !config->dictionary() || integerField(detail, "DeviceState") == SwitchedOff)
            return false;
        return integerField(config->dictionary(), "IsPerdometerRunning") == 0;
    }

    base::Value startChallenge(WebMethodCall& call)
    {
        std::string serialNumber = call.text(WebMethodCall::SerialNumberKey);
        int64_t target = positiveNumber(call, "Value");
        if (!call.ownsDevice(serialNumber) || target == 0 || !canStartChallenge(detailOf(call, serialNumber)))
            return base::Value(NotStarted);
        bool stored = call.store.setDetailFields(serialNumber,
            { { WatchConfig, "TargetStepCount", base::Value(target) },
                { WatchConfig, "IsPerdometerRunning", base::Value(1) },
                { WatchConfig, "IsPerdometerFinish", base::Value(0) },
                { WatchConfig, "FinishStepCount", base::Value(0) } });
        if (!stored)
            return base::Value(NotStarted);
        // The watch counts the new challenge's steps from nothing.
        call.store.setDocument(serialNumber, ServiceStore::StepCountDocument, base::Value(0));
        return base::Value(Started);
    }

    base::Value endChallenge(WebMethodCall& call)
    {
        return call.command({ { WatchConfig, "TargetStepCount", base::Value(0) },
            { WatchConfig, "IsPerdometerRunning", base::Value(0) },
            { WatchConfig, "IsPerdometerFinish", base::Value(1) } });
    }

    // An upload-interval command: the interval under `key` must be a positive number and the device of one
    // of `types`; `storesInterval` keeps it as the tracker configuration's "intervalTime".
    WebMethod uploadInterval(const char* key, std::vector<int64_t> types, bool storesInterval)
    {
        return [key, types, storesInterval](WebMethodCall& call) {
            std::string serialNumber = call.text(WebMethodCall::SerialNumberKey);
            int64_t interval = positiveNumber(call, key);
            int64_t type = integerField(detailOf(call, serialNumber), "DeviceTypeID");
            if (interval == 0 || std::find(types.begin(), types.end(), type) == types.end())
                return base::Value(Fault::DefaultRefusal);
            std::vector<DetailField> fields;
            if (storesInterval)
                fields.push_back({ TrackerConfig, "intervalTime", base::Value(std::to_string(interval)) });
            return call.command(fields);
        };
    }

} // namespace

void addChallengeMethods(WebMethodTable& table)
{
    using Access = WebMethodTable::Access;
    table.add("LumetParentChildInteraction", Access::SignedIn, startChallenge);
    table.add("LumetCancelParentChildInteraction", Access::SignedIn, endChallenge);
    table.add("ParvoSetTZENTARIntervalforContinuousTracking", Access::SignedIn,
        uploadInterval("ConTimeSpan", { 2, 7, 13, 16, 18, 20 }, true));
    table.add("MorvikSetinterval", Access::SignedIn, uploadInterval("interval", { 4 }, true));
    table.add("TolvaSetUploadTime", Access::SignedIn, uploadInterval("time", { 13, 18 }, false));
}

} // namespace tracking_service
