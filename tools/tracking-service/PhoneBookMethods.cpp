#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "core/service/ServiceProtocol.h"
#include "tracking-service/ServiceMethods.h"

namespace tracking_service {

namespace {

    // What the service answers a phone book it does not take.
    constexpr const char* PhoneBookRefused = "设置失败";

    bool isArrayOfTexts(const base::Value* value)
    {
        if (!value || !value->array())
            return false;
        for (const base::Value& entry : *value->array()) {
            if (!entry.isString())
                return false;
        }
        return true;
    }

    // {"entity": {"_id": serial, "PL": [numbers], "Name": [names], "Icon": ...}}: the whole book replaces the
    // stored one, so the next load shows it. "Icon" is not kept: photos stay on the phone.
    base::Value setPhoneBook(WebMethodCall& call)
    {
        const base::Value* entity = call.parameters ? call.parameters->objectForKey("entity") : nullptr;
        const base::DictionaryRef& fields = entity ? entity->dictionary() : nullptr;
        if (!fields)
            return PhoneBookRefused;
        std::string serialNumber = call.nestedText("entity", "_id");
        const base::Value* numbers = fields->objectForKey("PL");
        const base::Value* names = fields->objectForKey("Name");
        if (!call.ownsDevice(serialNumber) || !isArrayOfTexts(numbers) || !isArrayOfTexts(names))
            return PhoneBookRefused;
        auto book = base::Dictionary::make({ { "PL", *numbers }, { "Name", *names } });
        if (!call.store.setDocument(serialNumber, ServiceStore::PhoneBookDocument, book))
            return PhoneBookRefused;
        return core::ServiceProtocol::CommandAccepted;
    }

} // namespace

void addPhoneBookMethods(WebMethodTable& table)
{
    table.add("LumetSetPhoneBook_V2", WebMethodTable::Access::SignedIn, setPhoneBook);
}

} // namespace tracking_service
