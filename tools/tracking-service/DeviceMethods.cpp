#include "base/values/Array.h"
#include "tracking-service/ServiceMethods.h"

#include <algorithm>

namespace tracking_service {

namespace {

    base::Value deviceDetail(WebMethodCall& call)
    {
        std::string serialNumber = call.text("SerialNumber");
        if (!call.ownsDevice(serialNumber))
            return base::Value::null();
        return call.store.document(serialNumber, ServiceStore::DetailDocument).value_or(base::Value::null());
    }

    // The attendance query pages its rows: {"opt": {"Serialnumber", "PageSize", "PageIndex" (from 1), ...}}.
    base::Value attendance(WebMethodCall& call)
    {
        std::string serialNumber = call.nestedText("opt", "Serialnumber");
        if (!call.ownsDevice(serialNumber))
            return base::Value::null();
        auto rows = call.store.document(serialNumber, ServiceStore::AttendanceDocument);
        if (!rows || !rows->array())
            return base::Array::make();
        const base::Value* size = call.nested("opt", "PageSize");
        const base::Value* index = call.nested("opt", "PageIndex");
        long long pageSize = size ? size->longLongValue() : 0;
        long long pageIndex = index ? index->longLongValue() : 1;
        const auto& all = *rows->array();
        if (pageSize <= 0 || pageIndex < 1)
            return *rows;
        size_t first = static_cast<size_t>(std::min<long long>((pageIndex - 1) * pageSize, all.count()));
        size_t last = std::min(all.count(), first + static_cast<size_t>(pageSize));
        std::vector<base::Value> page;
        for (size_t i = first; i < last; ++i)
            page.push_back(all.objectAtIndex(i));
        return base::Array::make(std::move(page));
    }

    // Steps the watch is taken to walk between two questions, so a running challenge can be seen to finish.
    constexpr int64_t StepsPerQuestion = 600;

    // The current count; each question moves the stored count on.
    base::Value stepCount(WebMethodCall& call)
    {
        std::string serialNumber = call.text(WebMethodCall::SerialNumberKey);
        if (!call.ownsDevice(serialNumber))
            return base::Value::null();
        return call.store.takeStepCount(serialNumber, StepsPerQuestion).value_or(base::Value::null());
    }

    WebMethod document(const char* kind)
    {
        return [kind](WebMethodCall& call) { return call.deviceDocument(kind); };
    }

} // namespace

void addDeviceMethods(WebMethodTable& table)
{
    using Access = WebMethodTable::Access;
    table.add("GetDeviceDetial", Access::SignedIn, deviceDetail);
    table.add("LumetSearchCOW", Access::SignedIn, attendance);
    table.add("LumetGetalarmclock", Access::SignedIn, document(ServiceStore::AlarmClockDocument));
    table.add("LumetGetPhoneBook_V2", Access::SignedIn, document(ServiceStore::PhoneBookDocument));
    table.add("LumetGetClassInfo", Access::SignedIn, document(ServiceStore::ClassInfoDocument));
    table.add("LumetGetStepCount", Access::SignedIn, stepCount);
}

} // namespace tracking_service
