#include "base/Array.h"
#include "base/Dictionary.h"
#include "tracking-service/ServiceMethods.h"
#include "tracking-service/ServiceRoutes.h"

namespace tracking_service {

void addPurchaseMethods(WebMethodTable&) { }

// No published record: the purchase screen reads no version from an empty "results".
RouteReply answerStoreLookup(ServiceStore&, const RouteRequest&)
{
    return { 200, base::Dictionary::make({ { "resultCount", 0 }, { "results", base::Array::make() } }) };
}

} // namespace tracking_service
