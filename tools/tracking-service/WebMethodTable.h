// tracking_service::WebMethodTable: the web methods the local tracking service answers, by name. A method
// reads its parameters from the call, works on the store and returns the payload that the service sends
// under "d". Each family of methods adds itself with its own add...Methods function (ServiceMethods.h); a
// later feature adds its methods the same way. Filled once before the service starts, then only read.
//
//   table.add("LumetGetStepCount", WebMethodTable::Access::SignedIn,
//       [](WebMethodCall& call) { return call.deviceDocument(ServiceStore::StepCountDocument); });
//   table.add("SetPowerTime", WebMethodTable::Access::SignedIn, [](WebMethodCall& call) {
//       return call.command({ { "LumetDevice_Config", "PowerOnTime", base::Value(call.text("OnTime")) } });
//   });
#pragma once

#include "base/values/Dictionary.h"
#include "base/values/Value.h"
#include "tracking-service/Fault.h"
#include "tracking-service/ServiceStore.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tracking_service {

struct WebMethodCall {
    ServiceStore& store;
    // The signed-in account; empty for a public method called without a session.
    std::string account;
    // The request's JSON object; empty when the request had no body.
    base::DictionaryRef parameters;
    // The service's own root ("http://127.0.0.1:8080"), for addresses in replies.
    std::string serviceRoot;
    // Set by a method that opens a session: the service answers with the session cookie.
    std::optional<std::string> newSessionId;
    // Set by a method whose change must wait until the caller has its answer: runs once, with true when the
    // whole reply has been written to the connection, false when it could not be.
    std::function<void(bool written)> afterReply {};

    // A parameter as text: a text as it is, a number's decimal text, "" when absent or of another kind.
    std::string text(std::string_view key) const;
    // A parameter of an object parameter ("opt" of the attendance query), as text.
    std::string nestedText(std::string_view object, std::string_view key) const;
    const base::Value* nested(std::string_view object, std::string_view key) const;
    // Whether the serial number names a device of the signed-in account.
    bool ownsDevice(const std::string& serialNumber) const;
    // The document of the account's device named by "Serialnumber"; null when there is none.
    base::Value deviceDocument(std::string_view kind) const;

    // A command to the account's device named by the parameter `serialKey`: applies the change to its stored
    // detail and answers the accepted-command text ("命令提交成功"); answers `refusal` when the device is
    // not the account's, has no detail, or the change refuses.
    base::Value command(const ServiceStore::DetailChange& change, std::string_view refusal = Fault::DefaultRefusal,
        std::string_view serialKey = SerialNumberKey) const;
    // The same with fields of the detail set to the given values.
    base::Value command(const std::vector<DetailField>& fields, std::string_view refusal = Fault::DefaultRefusal,
        std::string_view serialKey = SerialNumberKey) const;

    // The parameter that names the device of most device methods.
    static constexpr const char* SerialNumberKey = "Serialnumber";
};

using WebMethod = std::function<base::Value(WebMethodCall&)>;

class WebMethodTable {
public:
    enum class Access { SignedIn, Public };
    struct Entry {
        Access access;
        WebMethod method;
    };

    void add(std::string name, Access access, WebMethod method);
    const Entry* find(std::string_view name) const;
    std::vector<std::string> names() const;

private:
    std::map<std::string, Entry, std::less<>> m_methods;
};

} // namespace tracking_service
