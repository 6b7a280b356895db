#include "core/service/ReplyFields.h"
#include "core/service/ServiceProtocol.h"
#include "core/readers/Tool.h"

namespace core {

namespace {

    void noteUnreadable(base::Error* error, std::string description)
    {
        if (error)
            *error = base::Error(base::Error::URLDomain, base::Error::URLCannotParseResponse,
                { { base::Error::LocalizedDescriptionKey, std::move(description) } });
    }

} // namespace

bool Tool::readLoginResultFromJson(std::string_view reply, base::Error* error)
{
    auto d = ReplyFields::payload(reply);
    if (d) {
        if (const int64_t* number = d->integer())
            return *number == ServiceProtocol::LoginSucceeded;
        if (const uint64_t* number = d->unsignedInteger())
            return *number == static_cast<uint64_t>(ServiceProtocol::LoginSucceeded);
        ReplyFields::noteConversion(ServiceProtocol::LoginMethod, *d, "no answer");
    }
    noteUnreadable(error, "The sign-in reply holds no answer.");
    return false;
}

std::vector<std::shared_ptr<MobileDeviceAndLocation>> Tool::readDeviceListFromJson(
    std::string_view reply, base::Error* error)
{
    std::vector<std::shared_ptr<MobileDeviceAndLocation>> devices;
    auto d = ReplyFields::payload(reply);
    const base::ArrayRef& rows = d ? d->array() : nullptr;
    if (!rows) {
        noteUnreadable(error, "The device-list reply holds no list.");
        return devices;
    }
    for (const base::Value& row : *rows) {
        const base::DictionaryRef& fields = row.dictionary();
        auto serialNumber = fields ? ReplyFields::text(fields, ServiceProtocol::DeviceSerialNumberKey) : std::nullopt;
        if (!serialNumber || serialNumber->empty()) {
            ReplyFields::noteConversion(ServiceProtocol::DeviceListMethod, row, "no device");
            continue;
        }
        auto device = std::make_shared<MobileDeviceAndLocation>();
        device->serialNumber = serialNumber;
        device->DeviceName = ReplyFields::text(fields, ServiceProtocol::DeviceNameKey);
        device->deviceTypeID = ReplyFields::integer(fields, ServiceProtocol::DeviceTypeIDKey);
        device->deviceOnlineState = ReplyFields::integer(fields, ServiceProtocol::DeviceOnLineStateKey);
        devices.push_back(std::move(device));
    }
    return devices;
}

} // namespace core
