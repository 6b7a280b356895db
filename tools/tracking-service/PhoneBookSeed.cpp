#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "tracking-service/DemoData.h"
#include "tracking-service/LaneSeeds.h"
#include "tracking-service/ServiceStore.h"

namespace tracking_service {

void seedPhoneBook(ServiceStore& store, const DemoSeed&)
{
    store.setDocument(DemoData::WatchSerialNumber, ServiceStore::PhoneBookDocument,
        base::Dictionary::make({
            { "PL", base::Array::make({ "13800138001", "13800138002", "13700137000" }) },
            { "Name", base::Array::make({ "Dad", "Mum", "Grandma" }) },
        }));
}

} // namespace tracking_service
