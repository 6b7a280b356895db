#include "base/values/Array.h"
#include "core/service/ServiceProtocol.h"
#include "tracking-service/ServiceMethods.h"

namespace tracking_service {

using core::ServiceProtocol;

namespace {

    // A refusal of the sign-in: no such account or a wrong password.
    constexpr int LoginRefused = 0;

    base::Value login(WebMethodCall& call)
    {
        std::string name = call.text(ServiceProtocol::LoginNameKey);
        if (name.empty() || !call.store.checkPassword(name, call.text(ServiceProtocol::PasswordKey)))
            return base::Value(LoginRefused);
        call.store.setPushToken(name, call.text(ServiceProtocol::TokenKey));
        call.newSessionId = call.store.openSession(name);
        return base::Value(ServiceProtocol::LoginSucceeded);
    }

    base::Value deviceList(WebMethodCall& call)
    {
        // An account sees only its own devices, whatever name it asks for.
        std::string name = call.text(ServiceProtocol::LoginNameKey);
        if (name != call.account)
            return base::Array::make();
        std::vector<base::Value> rows;
        for (const DeviceRow& device : call.store.devicesOf(name)) {
            rows.emplace_back(base::Dictionary::make({
                { ServiceProtocol::DeviceSerialNumberKey, device.serialNumber },
                { ServiceProtocol::DeviceNameKey, device.name },
                { ServiceProtocol::DeviceTypeIDKey, device.typeID },
                { ServiceProtocol::DeviceOnLineStateKey, device.onLineState },
            }));
        }
        return base::Array::make(std::move(rows));
    }

    base::Value serverList(WebMethodCall& call)
    {
        return base::Array::make({ base::Dictionary::make({
            { ServiceProtocol::ServerNameKey, "Local tracking service" },
            { ServiceProtocol::ServerUrlKey, call.serviceRoot },
            { ServiceProtocol::ServerKeyKey, "local" },
        }) });
    }

    base::Value saveAppleToken(WebMethodCall& call)
    {
        call.store.setPushToken(call.account, call.text(ServiceProtocol::TokenKey));
        return base::Value(ServiceProtocol::CommandAccepted);
    }

} // namespace

void addAccountMethods(WebMethodTable& table)
{
    using Access = WebMethodTable::Access;
    table.add(ServiceProtocol::LoginMethod, Access::Public, login);
    table.add(ServiceProtocol::ServerListMethod, Access::Public, serverList);
    table.add(ServiceProtocol::DeviceListMethod, Access::SignedIn, deviceList);
    table.add("SaveAppleToken", Access::SignedIn, saveAppleToken);
}

} // namespace tracking_service
