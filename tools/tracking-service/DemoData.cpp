#include "tracking-service/DemoData.h"

#include "base/Array.h"
#include "base/Calendar.h"
#include "base/Dictionary.h"
#include "base/ServiceDateText.h"
#include "core/ServiceProtocol.h"
#include "tracking-service/DemoVoice.h"
#include "tracking-service/ServiceStore.h"

#include <string>

namespace tracking_service {

using base::Dictionary;
using base::Value;
using core::ServiceProtocol;

namespace {

    constexpr double Hour = 3600;
    constexpr double Day = 24 * Hour;

    Value dateText(base::Date date) { return Value(base::serviceDateText(date)); }

    // The watch's configuration shows every kind of field: numbers, key states as numbers, a name that is
    // JSON null ("SOSNo_Name") and an icon that is absent ("SOSNo_Icon").
    Value lumetConfig(base::Date today)
    {
        return Value(Dictionary::make({
            { "ButtonNo1", "13800138001" },
            { "ButtonNo2", "13800138002" },
            { "SOSNo", "13800138000" },
            { "ListenNo", "13800138003" },
            { "ButtonNo1_State", 1 },
            { "ButtonNo2_State", 1 },
            { "SOSNo_State", 0 },
            { "ButtonNo1_Name", "Dad" },
            { "ButtonNo2_Name", "Mum" },
            { "SOSNo_Name", Value::null() },
            { "ButtonNo1_Icon", "father" },
            { "ButtonNo2_Icon", "mother" },
            { "PowerOnTime", "07:00" },
            { "PowerOffTime", "22:00" },
            { "PowerState", 1 },
            { "Fanghuoqiang", "false" },
            { "KeyLockState", 0 },
            { "EnterCampusTime", dateText(today.dateByAddingTimeInterval(8 * Hour)) },
            { "LeaveCampusTime", dateText(today.dateByAddingTimeInterval(16.5 * Hour)) },
            { "CowNoti", "01" },
            { "FRIDState", "true" },
            { "TargetStepCount", 6000 },
            { "FinishStepCount", 4321 },
            { "IsPerdometerRunning", 1 },
            { "IsPerdometerFinish", 0 },
        }));
    }

    Value parvoConfig()
    {
        return Value(Dictionary::make({
            { "KeySOSCallNo", "13900139000" },
            { "KeySOSSMSNo", "13900139000" },
            { "Key1CallNo", "13900139001" },
            { "Key1SMSNo", "13900139001" },
            { "Key2CallNo", "13900139002" },
            { "Key2SMSNo", Value::null() },
            { "Key3CallNo", "" },
            { "Key3SMSNo", "" },
            { "ListenNum", "13900139003" },
            { "intervalTime", "60" },
        }));
    }

    struct DemoDevice {
        const char* serialNumber;
        const char* name;
        int type;
        int onLineState;
        int deviceState;
    };

    constexpr DemoDevice Devices[] = {
        { DemoData::WatchSerialNumber, "Lumet Watch", 36, 1, 0 },
        { DemoData::Watch27SerialNumber, "Lumet Watch (27)", 27, 1, 0 },
        { DemoData::CarTrackerSerialNumber, "Car tracker", 41, 0, 0 },
        { DemoData::ParvoSerialNumber, "Parvo tracker", 2, 1, 0 },
        { DemoData::Tracker13SerialNumber, "Tracker 13", 13, 1, 0 },
        { DemoData::Tracker18SerialNumber, "Tracker 18", 18, 0, 1 },
    };

    Value detail(const DemoDevice& device, base::Date today)
    {
        bool lumet = device.type == 36 || device.type == 27;
        bool parvo = device.type == 2 || device.type == 13 || device.type == 18;
        return Value(Dictionary::make({
            { "SerialNumber", device.serialNumber },
            { "DeviceName", device.name },
            { "DeviceTypeID", device.type },
            { "DeviceState", device.deviceState },
            { "LumetDevice_Config", lumet ? lumetConfig(today) : Value::null() },
            { "ParvoDevice_Config", parvo ? parvoConfig() : Value::null() },
            { "Quenn_DeviceConfig", Value::null() },
        }));
    }

    Value attendance(base::Date today)
    {
        std::vector<Value> rows;
        int number = 0;
        for (int daysBack = 0; daysBack < 3; ++daysBack) {
            base::Date day = today.dateByAddingTimeInterval(-daysBack * Day);
            for (auto [type, time] : { std::pair { 1, 7.9 * Hour }, std::pair { 2, 16.6 * Hour } }) {
                ++number;
                rows.emplace_back(Dictionary::make({
                    { "_id", "attendance-" + std::to_string(number) },
                    { "Serialnumber", DemoData::WatchSerialNumber },
                    { "Type", type },
                    { "Time", dateText(day.dateByAddingTimeInterval(time)) },
                    { "State", "0" },
                    { "Code", "RF" + std::to_string(1000 + number) },
                }));
            }
        }
        return Value(base::Array::make(std::move(rows)));
    }

    Value alarmClocks()
    {
        auto alarm = [](int mode, int hour, int minute) {
            return Value(Dictionary::make({ { "Mode", mode }, { "H", hour }, { "S", minute } }));
        };
        return Value(Dictionary::make({
            { "_id", "alarmclock-1" },
            { "LumetAlarmClockEntity", base::Array::make({ alarm(1, 7, 0), alarm(0, 12, 30), alarm(1, 21, 5) }) },
        }));
    }

    Value phoneBook()
    {
        return Value(Dictionary::make({
            { "PL", base::Array::make({ "13800138001", "13800138002", "13700137000" }) },
            { "Name", base::Array::make({ "Dad", "Mum", "Grandma" }) },
        }));
    }

    Value timetable()
    {
        constexpr int Starts[8][2]
            = { { 8, 0 }, { 8, 55 }, { 10, 0 }, { 10, 55 }, { 14, 0 }, { 14, 55 }, { 16, 0 }, { 16, 55 } };
        constexpr const char* Courses[8]
            = { "Maths", "Chinese", "English", "Science", "Music", "Art", "Sport", "Reading" };
        std::vector<Value> rows;
        for (int lesson = 0; lesson < 8; ++lesson) {
            auto row = base::MutableDictionary::make({
                { "Name", lesson + 1 },
                { "Start_H", Starts[lesson][0] },
                { "Start_M", Starts[lesson][1] },
                { "End_H", Starts[lesson][0] + (Starts[lesson][1] + 45) / 60 },
                { "End_M", (Starts[lesson][1] + 45) % 60 },
            });
            for (int day = 1; day <= 5; ++day)
                row->setObject(Value(Courses[(lesson + day) % 8]), "D" + std::to_string(day));
            rows.emplace_back(row->copy());
        }
        return Value(Dictionary::make({ { "State", 1 }, { "Lumet_ClassInfoEntity", base::Array::make(rows) } }));
    }

    Value message(const char* id, const char* context, const char* desc, const char* from, int msgType, std::string url,
        base::Date created)
    {
        return Value(Dictionary::make({
            { ServiceProtocol::MessageIdKey, id },
            { ServiceProtocol::MessageContextKey, context },
            { ServiceProtocol::MessageDescKey, desc },
            { ServiceProtocol::MessageFromKey, from },
            { ServiceProtocol::MessageToKey, DemoData::AccountName },
            { ServiceProtocol::MessageFromIconNameKey, "icon02.png" },
            { ServiceProtocol::MessageToIconNameKey, "icon01.png" },
            { ServiceProtocol::MessageMsgTypeKey, msgType },
            { ServiceProtocol::MessageUrlKey, std::move(url) },
            { ServiceProtocol::MessageCreateTimeKey, dateText(created) },
        }));
    }

    void queueMessages(ServiceStore& store, base::Date now)
    {
        std::string voiceUrl = std::string(ServiceProtocol::DownloadPath) + "?" + ServiceProtocol::DownloadNameParameter
            + "=" + DemoData::VoiceFileName;
        store.queueMessage(DemoData::AccountName,
            message("demo-message-1", "SOS", "SOS alarm", DemoData::WatchSerialNumber, 1, "",
                now.dateByAddingTimeInterval(-Hour)));
        store.queueMessage(DemoData::AccountName,
            message("demo-message-2", "22.5431,114.0579", ServiceProtocol::LocationMarker,
                DemoData::Watch27SerialNumber, 2, "", now.dateByAddingTimeInterval(-30 * 60)));
        store.queueMessage(DemoData::AccountName,
            message("demo-message-3", DemoData::VoiceFileName, ServiceProtocol::VoiceMarker,
                DemoData::WatchSerialNumber, 5, voiceUrl, now.dateByAddingTimeInterval(-5 * 60)));
    }

} // namespace

void DemoData::seed(ServiceStore& store, base::Date now)
{
    base::Date today = base::Calendar::current().startOfDay(now);
    store.addAccount(AccountName, Password);
    for (const DemoDevice& device : Devices) {
        store.addDevice({ device.serialNumber, AccountName, device.name, device.type, device.onLineState });
        store.setDocument(device.serialNumber, ServiceStore::DetailDocument, detail(device, today));
    }
    store.setDocument(WatchSerialNumber, ServiceStore::AttendanceDocument, attendance(today));
    store.setDocument(WatchSerialNumber, ServiceStore::AlarmClockDocument, alarmClocks());
    store.setDocument(WatchSerialNumber, ServiceStore::PhoneBookDocument, phoneBook());
    store.setDocument(WatchSerialNumber, ServiceStore::ClassInfoDocument, timetable());
    store.setDocument(WatchSerialNumber, ServiceStore::StepCountDocument, Value(4321));
    store.putFile(VoiceFileName, makeDemoVoice());
    queueMessages(store, now);
}

} // namespace tracking_service
