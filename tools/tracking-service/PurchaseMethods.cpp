#include "base/values/Array.h"
#include "base/system/Bundle.h"
#include "base/values/Dictionary.h"
#include "core/service/StoreLookupRoot.h"
#include "networking/forms/Base64.h"
#include "store/Receipt.h"
#include "tracking-service/ServiceMethods.h"
#include "tracking-service/ServiceRoutes.h"

namespace tracking_service {

namespace {

    // The service grants the permanent service with 0 and refuses with 1.
    constexpr int64_t Granted = 0;
    constexpr int64_t Refused = 1;

    bool holdsLocalReceipt(const WebMethodCall& call)
    {
        const base::Value* data = call.parameters ? call.parameters->objectForKey("Data") : nullptr;
        if (!data || !data->string())
            return false;
        auto bytes = networking::Base64::decode(*data->string());
        return bytes && store::Receipt::isMadeByLocalStore(*bytes);
    }

} // namespace

void addPurchaseMethods(WebMethodTable& table)
{
    table.add("Apple_Device_Pay", WebMethodTable::Access::SignedIn, [](WebMethodCall& call) {
        bool granted = holdsLocalReceipt(call) && call.ownsDevice(call.text("SerialNumber"));
        return base::Value(granted ? Granted : Refused);
    });
}

// The application's record carries the version of this build as the published one; any other identifier
// has no record.
RouteReply answerStoreLookup(ServiceStore&, const RouteRequest& request)
{
    auto results = base::Array::make();
    if (request.queryValue(ServiceRoutes::LookupIdParameter) == core::StoreIdentifier)
        results = base::Array::make({ base::Dictionary::make({ { "version", base::Bundle::main().version() } }) });
    return { 200,
        base::Dictionary::make({ { "resultCount", static_cast<int64_t>(results->count()) }, { "results", results } }) };
}

} // namespace tracking_service
