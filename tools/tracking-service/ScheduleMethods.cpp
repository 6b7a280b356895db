// The class timetable's web method: "LumetSetClassInfo" stores the timetable the phone sends, whole, as the
// document that "LumetGetClassInfo" answers with.
#include "base/values/Array.h"
#include "core/service/ServiceProtocol.h"
#include "tracking-service/ServiceMethods.h"

namespace tracking_service {

namespace {

    constexpr const char* SettingRefused = "设置失败";

    bool isArrayOfObjects(const base::Value* value)
    {
        const auto& rows = value ? value->array() : nullptr;
        if (!rows)
            return false;
        for (size_t index = 0; index < rows->count(); ++index) {
            if (!rows->objectAtIndex(index).isDictionary())
                return false;
        }
        return true;
    }

    // {"entity": {"_id": serial number, "Data", "Lumet_ClassInfoEntity": [lesson rows], "State": 0 or 1}}.
    base::Value setClassInfo(WebMethodCall& call)
    {
        std::string serialNumber = call.nestedText("entity", "_id");
        const base::Value* lessons = call.nested("entity", "Lumet_ClassInfoEntity");
        if (!call.ownsDevice(serialNumber) || !isArrayOfObjects(lessons))
            return base::Value(SettingRefused);
        const base::Value* state = call.nested("entity", "State");
        auto timetable = base::Dictionary::make({
            { "State", state && state->isNumber() ? *state : base::Value(0) },
            { "Lumet_ClassInfoEntity", *lessons },
        });
        if (!call.store.setDocument(serialNumber, ServiceStore::ClassInfoDocument, base::Value(timetable)))
            return base::Value(SettingRefused);
        return base::Value(core::ServiceProtocol::CommandAccepted);
    }

} // namespace

void addScheduleMethods(WebMethodTable& table)
{
    table.add("LumetSetClassInfo", WebMethodTable::Access::SignedIn, setClassInfo);
}

} // namespace tracking_service
