// The attendance web methods: the school entry and leaving times, the attendance notice and RFID switches,
// and the alarm clocks sent back whole.
#include "base/values/Array.h"
#include "base/time/DateFormatter.h"
#include "base/values/Dictionary.h"
#include "base/time/ServiceDateText.h"
#include "core/service/ServiceProtocol.h"
#include "tracking-service/ServiceMethods.h"

#include <optional>
#include <string>
#include <vector>

namespace tracking_service {

namespace {

    constexpr const char* Configuration = "LumetDevice_Config";
    constexpr const char* TimeStored = core::ServiceProtocol::SettingAccepted;
    constexpr const char* TimeRefused = "设置失败";
    constexpr int64_t Hours = 24;
    constexpr int64_t Minutes = 60;

    // "yyyy-MM-dd HH:mm:ss" in the service's local time, stored under `field` as the service's date text.
    WebMethod campusTime(const char* parameter, const char* field)
    {
        return [parameter, field](WebMethodCall& call) {
            std::string serialNumber = call.text(WebMethodCall::SerialNumberKey);
            auto time = base::DateFormatter("yyyy-MM-dd HH:mm:ss").dateFromString(call.text(parameter));
            if (!time || !call.ownsDevice(serialNumber))
                return base::Value(TimeRefused);
            bool stored = call.store.setDetailFields(
                serialNumber, { { Configuration, field, base::Value(base::serviceDateText(*time)) } });
            return base::Value(stored ? TimeStored : TimeRefused);
        };
    }

    // A switch whose parameter takes one of two texts, kept as the configuration's field.
    WebMethod switchCommand(const char* parameter, const char* field, const char* on, const char* off)
    {
        return [parameter, field, on, off](WebMethodCall& call) {
            std::string value = call.text(parameter);
            if (value != on && value != off)
                return base::Value(Fault::DefaultRefusal);
            return call.command({ { Configuration, field, base::Value(value) } });
        };
    }

    // An integer within [0, limit): a number without fraction, nothing otherwise.
    std::optional<int64_t> wheelValue(const base::Value* value, int64_t limit)
    {
        if (!value || !value->isNumber() || value->doubleValue() != static_cast<double>(value->longLongValue()))
            return std::nullopt;
        int64_t number = value->longLongValue();
        return number >= 0 && number < limit ? std::optional<int64_t>(number) : std::nullopt;
    }

    // One alarm as the alarm-clock document keeps it; nothing for an hour or minute out of range.
    std::optional<base::Value> storedAlarm(const base::Value& entry)
    {
        const base::DictionaryRef& fields = entry.dictionary();
        if (!fields)
            return std::nullopt;
        auto hour = wheelValue(fields->objectForKey("H"), Hours);
        auto minute = wheelValue(fields->objectForKey("S"), Minutes);
        const base::Value* mode = fields->objectForKey("Mode");
        if (!hour || !minute)
            return std::nullopt;
        int64_t on = mode && mode->longLongValue() != 0 ? 1 : 0;
        return base::Value(base::Dictionary::make({ { "Mode", on }, { "H", *hour }, { "S", *minute } }));
    }

    // {"LumetAlarmClock": {"_id": <serial number>, "LumetAlarmClockEntity": [{"Index", "Mode", "H", "S"}]}}
    // replaces the watch's alarms; one entry out of range refuses the whole list.
    base::Value setAlarmClocks(WebMethodCall& call)
    {
        std::string serialNumber = call.nestedText("LumetAlarmClock", "_id");
        const base::Value* entries = call.nested("LumetAlarmClock", "LumetAlarmClockEntity");
        if (!call.ownsDevice(serialNumber) || !entries || !entries->array())
            return base::Value(Fault::DefaultRefusal);
        std::vector<base::Value> alarms;
        for (size_t i = 0; i < entries->array()->count(); ++i) {
            auto alarm = storedAlarm(entries->array()->objectAtIndex(i));
            if (!alarm)
                return base::Value(Fault::DefaultRefusal);
            alarms.push_back(std::move(*alarm));
        }
        auto previous = call.store.document(serialNumber, ServiceStore::AlarmClockDocument);
        const base::Value* id
            = previous && previous->dictionary() ? previous->dictionary()->objectForKey("_id") : nullptr;
        auto document = base::Dictionary::make({
            { "_id", id ? *id : base::Value("alarmclock-" + serialNumber) },
            { "LumetAlarmClockEntity", base::Array::make(std::move(alarms)) },
        });
        if (!call.store.setDocument(serialNumber, ServiceStore::AlarmClockDocument, base::Value(document)))
            return base::Value(Fault::DefaultRefusal);
        return base::Value(core::ServiceProtocol::CommandAccepted);
    }

} // namespace

void addAttendanceMethods(WebMethodTable& table)
{
    using Access = WebMethodTable::Access;
    table.add("LumetUpdateEnterCampusTime", Access::SignedIn, campusTime("EnterTime", "EnterCampusTime"));
    table.add("LumetUpdateLeaveCampusTime", Access::SignedIn, campusTime("LeaveTime", "LeaveCampusTime"));
    table.add("LumetCowNotiControl", Access::SignedIn, switchCommand("type", "CowNoti", "01", "00"));
    table.add("LumetRFIDControl", Access::SignedIn, switchCommand("Flag", "FRIDState", "true", "false"));
    table.add("Lumet0SetAlarmclock", Access::SignedIn, setAlarmClocks);
}

} // namespace tracking_service
