#include "tracking-service/DemoDevices.h"

#include "base/values/Dictionary.h"
#include "base/time/ServiceDateText.h"
#include "tracking-service/DemoData.h"
#include "tracking-service/ServiceStore.h"

namespace tracking_service {

using base::Dictionary;
using base::Value;

namespace {

    constexpr double Hour = 3600;

    enum class Model { Lumet, Parvo, NewSorby, Morvik, Quenn, None };

    // What sets one watch apart from the others: its numbers, switches and step challenge.
    struct WatchSettings {
        const char* numberPrefix;
        const char* powerOn;
        const char* powerOff;
        int powerState;
        const char* firewall;
        int keyLock;
        const char* cowNoti;
        const char* rfid;
        int targetSteps;
        int finishedSteps;
        int running;
        int finished;
    };

    struct DemoDevice {
        const char* serialNumber;
        const char* name;
        int type;
        int onLineState;
        int deviceState;
        Model model;
        WatchSettings watch;
    };

    constexpr WatchSettings NoWatch {};
    constexpr WatchSettings MainWatch { "1380013800", "07:00", "22:00", 1, "false", 0, "01", "true", 6000, 4321, 1, 0 };

    constexpr DemoDevice Devices[] = {
        { DemoData::WatchSerialNumber, "Lumet Watch", 36, 1, 0, Model::Lumet, MainWatch },
        { DemoData::Watch27SerialNumber, "Lumet Watch (27)", 27, 1, 0, Model::Lumet, MainWatch },
        { DemoData::CarTrackerSerialNumber, "Car tracker", 41, 0, 0, Model::None, NoWatch },
        { DemoData::ParvoSerialNumber, "Parvo tracker", 2, 1, 0, Model::Parvo, NoWatch },
        { DemoData::Tracker13SerialNumber, "Tracker 13", 13, 1, 0, Model::Parvo, NoWatch },
        { DemoData::Tracker18SerialNumber, "Tracker 18", 18, 0, 1, Model::Parvo, NoWatch },
        { DemoData::Quenn3SerialNumber, "Quenn 3", 3, 1, 0, Model::Quenn, NoWatch },
        { DemoData::Quenn6SerialNumber, "Quenn 6", 6, 1, 0, Model::Quenn, NoWatch },
        { DemoData::MorvikSerialNumber, "Morvik tracker", 4, 1, 0, Model::Morvik, NoWatch },
        { DemoData::Tracker7SerialNumber, "Tracker 7", 7, 1, 0, Model::NewSorby, NoWatch },
        { DemoData::Tracker16SerialNumber, "Tracker 16", 16, 0, 0, Model::NewSorby, NoWatch },
        { DemoData::Tracker20SerialNumber, "Tracker 20", 20, 1, 0, Model::NewSorby, NoWatch },
        { DemoData::Tracker21SerialNumber, "Tracker 21", 21, 1, 0, Model::NewSorby, NoWatch },
        { DemoData::Watch40SerialNumber, "Lumet Watch (40)", 40, 1, 0, Model::Lumet,
            { "1350013500", "06:45", "21:30", 0, "true", 0, "00", "false", 0, 0, 0, 0 } },
        { DemoData::Watch43SerialNumber, "Lumet Watch (43)", 43, 1, 0, Model::Lumet,
            { "1360013600", "07:15", "22:30", 1, nullptr, 1, "01", "true", 3000, 3000, 0, 1 } },
        { DemoData::Watch44SerialNumber, "Lumet Watch (44)", 44, 1, 0, Model::Lumet,
            { "1370013700", "06:30", "21:00", 1, "false", 0, "01", "true", 12000, 2500, 1, 0 } },
    };

    Value number(const char* prefix, int last) { return Value(prefix + std::to_string(last)); }

    Value textOrNull(const char* text) { return text ? Value(text) : Value::null(); }

    // A watch's configuration shows every kind of field: numbers, key states as numbers, a name that is JSON
    // null ("SOSNo_Name") and an icon that is absent ("SOSNo_Icon").
    Value lumetConfig(const WatchSettings& watch, base::Date today)
    {
        return Dictionary::make({
            { "ButtonNo1", number(watch.numberPrefix, 1) },
            { "ButtonNo2", number(watch.numberPrefix, 2) },
            { "SOSNo", number(watch.numberPrefix, 0) },
            { "ListenNo", number(watch.numberPrefix, 3) },
            { "ButtonNo1_State", 1 },
            { "ButtonNo2_State", 1 },
            { "SOSNo_State", 0 },
            { "ButtonNo1_Name", "Dad" },
            { "ButtonNo2_Name", "Mum" },
            { "SOSNo_Name", Value::null() },
            { "ButtonNo1_Icon", "father" },
            { "ButtonNo2_Icon", "mother" },
            { "PowerOnTime", watch.powerOn },
            { "PowerOffTime", watch.powerOff },
            { "PowerState", watch.powerState },
            { "Fanghuoqiang", textOrNull(watch.firewall) },
            { "KeyLockState", watch.keyLock },
            { "EnterCampusTime", base::serviceDateText(today.dateByAddingTimeInterval(8 * Hour)) },
            { "LeaveCampusTime", base::serviceDateText(today.dateByAddingTimeInterval(16.5 * Hour)) },
            { "CowNoti", watch.cowNoti },
            { "FRIDState", watch.rfid },
            { "TargetStepCount", watch.targetSteps },
            { "FinishStepCount", watch.finishedSteps },
            { "IsPerdometerRunning", watch.running },
            { "IsPerdometerFinish", watch.finished },
        });
    }

    Value parvoConfig()
    {
        return Dictionary::make({
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
        });
    }

    // The trackers of the types 7, 16, 20 and 21 keep an SOS and a listen number in the Parvo configuration.
    Value newSorbyConfig(int type)
    {
        std::string prefix = "15900" + std::to_string(1000 + type);
        return Dictionary::make({
            { "KeySOSCallNo", prefix + "00" },
            { "KeySOSSMSNo", prefix + "00" },
            { "Key1CallNo", "" },
            { "Key1SMSNo", "" },
            { "Key2CallNo", "" },
            { "Key2SMSNo", "" },
            { "Key3CallNo", "" },
            { "Key3SMSNo", "" },
            { "ListenNum", prefix + "03" },
            { "intervalTime", std::to_string(30 * (type % 4 + 1)) },
        });
    }

    // The Morvik tracker keeps only its upload interval; its numbers live on the device.
    Value morvikConfig() { return Dictionary::make({ { "intervalTime", "120" } }); }

    // "SOSNum1" to "SOSNum3" are the family numbers, "SOSNum4" the listen number.
    Value quennConfig(int type)
    {
        std::string prefix = "13600" + std::to_string(1000 + type);
        return Dictionary::make({
            { "SOSNum1", prefix + "01" },
            { "SOSNum2", prefix + "02" },
            { "SOSNum3", type == 6 ? std::string() : prefix + "03" },
            { "SOSNum4", prefix + "04" },
        });
    }

    Value parvoFamily(const DemoDevice& device)
    {
        switch (device.model) {
        case Model::Parvo:
            return parvoConfig();
        case Model::NewSorby:
            return newSorbyConfig(device.type);
        case Model::Morvik:
            return morvikConfig();
        default:
            return Value::null();
        }
    }

    Value detail(const DemoDevice& device, base::Date today)
    {
        return Dictionary::make({
            { "SerialNumber", device.serialNumber },
            { "DeviceName", device.name },
            { "DeviceTypeID", device.type },
            { "DeviceState", device.deviceState },
            { "LumetDevice_Config", device.model == Model::Lumet ? lumetConfig(device.watch, today) : Value::null() },
            { "ParvoDevice_Config", parvoFamily(device) },
            { "Quenn_DeviceConfig", device.model == Model::Quenn ? quennConfig(device.type) : Value::null() },
        });
    }

} // namespace

void seedDemoDevices(ServiceStore& store, std::string_view account, base::Date today)
{
    for (const DemoDevice& device : Devices) {
        store.addDevice({ device.serialNumber, std::string(account), device.name, device.type, device.onLineState });
        store.setDocument(device.serialNumber, ServiceStore::DetailDocument, detail(device, today));
    }
}

} // namespace tracking_service
