#include "tracking-service/DemoData.h"
#include "tracking-service/LaneSeeds.h"
#include "tracking-service/ServiceStore.h"

namespace tracking_service {

void seedChallenge(ServiceStore& store, const DemoSeed&)
{
    store.setDocument(DemoData::WatchSerialNumber, ServiceStore::StepCountDocument, base::Value(4321));
}

} // namespace tracking_service
