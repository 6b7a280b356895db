#include "core/service/ReplyFields.h"
#include "core/readers/Tool.h"

namespace core {

namespace {

    using Fields = base::DictionaryRef;

    std::shared_ptr<LumetDeviceConfig> readLumetConfig(const Fields& fields)
    {
        if (!fields)
            return nullptr;
        auto config = std::make_shared<LumetDeviceConfig>();
        config->numberForFather = ReplyFields::configText(fields, "ButtonNo1");
        config->numberForMother = ReplyFields::configText(fields, "ButtonNo2");
        config->numberForSOS = ReplyFields::configText(fields, "SOSNo");
        config->numberForListen = ReplyFields::configText(fields, "ListenNo");
        config->buttonNo1_State = ReplyFields::asReceived(fields, "ButtonNo1_State");
        config->buttonNo2_State = ReplyFields::asReceived(fields, "ButtonNo2_State");
        config->sosNo_State = ReplyFields::asReceived(fields, "SOSNo_State");
        config->buttonNo1_Name = ReplyFields::configText(fields, "ButtonNo1_Name");
        config->buttonNo2_Name = ReplyFields::configText(fields, "ButtonNo2_Name");
        config->sosNo_Name = ReplyFields::configText(fields, "SOSNo_Name");
        config->buttonNo1_Icon = ReplyFields::configText(fields, "ButtonNo1_Icon");
        config->buttonNo2_Icon = ReplyFields::configText(fields, "ButtonNo2_Icon");
        config->sosNo_Icon = ReplyFields::configText(fields, "SOSNo_Icon");
        config->powerOnTime = ReplyFields::configText(fields, "PowerOnTime");
        config->powerOffTime = ReplyFields::configText(fields, "PowerOffTime");
        config->powerState = ReplyFields::integer(fields, "PowerState");
        if (fields->objectForKey("Fanghuoqiang"))
            config->fangHuoQiang = ReplyFields::configText(fields, "Fanghuoqiang");
        config->keyLockState = ReplyFields::integer(fields, "KeyLockState");
        config->enterCampusTime = ReplyFields::configText(fields, "EnterCampusTime");
        config->leaveCampusTime = ReplyFields::configText(fields, "LeaveCampusTime");
        config->cowNoti = ReplyFields::configText(fields, "CowNoti");
        config->rfidState = ReplyFields::configText(fields, "FRIDState");
        config->TargetStepCount = static_cast<double>(ReplyFields::integer(fields, "TargetStepCount").value_or(0));
        config->FinishStepCount = static_cast<double>(ReplyFields::integer(fields, "FinishStepCount").value_or(0));
        config->IsPerdometerRunning = ReplyFields::integer(fields, "IsPerdometerRunning").value_or(0) != 0;
        config->IsPerdometerFinish = ReplyFields::integer(fields, "IsPerdometerFinish").value_or(0) != 0;
        return config;
    }

    std::shared_ptr<ParvoDeviceConfig> readParvoConfig(const Fields& fields)
    {
        if (!fields)
            return nullptr;
        auto config = std::make_shared<ParvoDeviceConfig>();
        config->keySOSCallNo = ReplyFields::configText(fields, "KeySOSCallNo");
        config->keySOSSMSNo = ReplyFields::configText(fields, "KeySOSSMSNo");
        config->key1CallNo = ReplyFields::configText(fields, "Key1CallNo");
        config->key1SMSNo = ReplyFields::configText(fields, "Key1SMSNo");
        config->key2CallNo = ReplyFields::configText(fields, "Key2CallNo");
        config->key2SMSNo = ReplyFields::configText(fields, "Key2SMSNo");
        config->key3CallNo = ReplyFields::configText(fields, "Key3CallNo");
        config->key3SMSNo = ReplyFields::configText(fields, "Key3SMSNo");
        config->listenNum = ReplyFields::configText(fields, "ListenNum");
        config->intervalTime = ReplyFields::configText(fields, "intervalTime");
        return config;
    }

    std::shared_ptr<SQuennConfig> readQuennConfig(const Fields& fields)
    {
        if (!fields)
            return nullptr;
        auto config = std::make_shared<SQuennConfig>();
        config->sOSNum1 = ReplyFields::configText(fields, "SOSNum1");
        config->sOSNum2 = ReplyFields::configText(fields, "SOSNum2");
        config->sOSNum3 = ReplyFields::configText(fields, "SOSNum3");
        config->sOSNum4 = ReplyFields::configText(fields, "SOSNum4");
        return config;
    }

} // namespace

std::shared_ptr<Device> Tool::readDeviceDetailFromJson(std::string_view reply)
{
    auto d = ReplyFields::payload(reply);
    if (!d)
        return nullptr;
    const Fields& fields = d->dictionary();
    if (!fields) {
        ReplyFields::noteConversion("d", *d, "no device");
        return nullptr;
    }
    auto device = std::make_shared<Device>();
    device->serialNumber = ReplyFields::text(fields, "SerialNumber");
    device->deviceName = ReplyFields::text(fields, "DeviceName");
    device->deviceTypeID = ReplyFields::integer(fields, "DeviceTypeID");
    device->deviceState = ReplyFields::integer(fields, "DeviceState");
    device->lumetDeviceConfig = readLumetConfig(ReplyFields::object(fields, "LumetDevice_Config"));
    device->parvoDeviceConfig = readParvoConfig(ReplyFields::object(fields, "ParvoDevice_Config"));
    device->quennDeviceConfig = readQuennConfig(ReplyFields::object(fields, "Quenn_DeviceConfig"));
    return device;
}

} // namespace core
