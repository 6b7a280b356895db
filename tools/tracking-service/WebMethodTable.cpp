#include "tracking-service/WebMethodTable.h"

#include "core/service/ServiceProtocol.h"

namespace tracking_service {

namespace {

    std::string textOf(const base::Value* value)
    {
        if (!value || !(value->isString() || value->isNumber()))
            return {};
        return value->stringValue();
    }

} // namespace

std::string WebMethodCall::text(std::string_view key) const
{
    return textOf(parameters ? parameters->objectForKey(key) : nullptr);
}

const base::Value* WebMethodCall::nested(std::string_view object, std::string_view key) const
{
    const base::Value* outer = parameters ? parameters->objectForKey(object) : nullptr;
    const auto& inner = outer ? outer->dictionary() : nullptr;
    return inner ? inner->objectForKey(key) : nullptr;
}

std::string WebMethodCall::nestedText(std::string_view object, std::string_view key) const
{
    return textOf(nested(object, key));
}

bool WebMethodCall::ownsDevice(const std::string& serialNumber) const
{
    if (serialNumber.empty() || account.empty())
        return false;
    auto owner = store.deviceOwner(serialNumber);
    return owner && *owner == account;
}

base::Value WebMethodCall::deviceDocument(std::string_view kind) const
{
    std::string serialNumber = text(SerialNumberKey);
    if (!ownsDevice(serialNumber))
        return base::Value::null();
    return store.document(serialNumber, kind).value_or(base::Value::null());
}

base::Value WebMethodCall::command(
    const ServiceStore::DetailChange& change, std::string_view refusal, std::string_view serialKey) const
{
    std::string serialNumber = text(serialKey);
    if (!ownsDevice(serialNumber) || !store.changeDetail(serialNumber, change))
        return base::Value(refusal);
    return base::Value(core::ServiceProtocol::CommandAccepted);
}

base::Value WebMethodCall::command(
    const std::vector<DetailField>& fields, std::string_view refusal, std::string_view serialKey) const
{
    std::string serialNumber = text(serialKey);
    if (!ownsDevice(serialNumber) || !store.setDetailFields(serialNumber, fields))
        return base::Value(refusal);
    return base::Value(core::ServiceProtocol::CommandAccepted);
}

void WebMethodTable::add(std::string name, Access access, WebMethod method)
{
    m_methods.insert_or_assign(std::move(name), Entry { access, std::move(method) });
}

const WebMethodTable::Entry* WebMethodTable::find(std::string_view name) const
{
    auto found = m_methods.find(name);
    return found == m_methods.end() ? nullptr : &found->second;
}

std::vector<std::string> WebMethodTable::names() const
{
    std::vector<std::string> names;
    for (const auto& [name, entry] : m_methods)
        names.push_back(name);
    return names;
}

} // namespace tracking_service
