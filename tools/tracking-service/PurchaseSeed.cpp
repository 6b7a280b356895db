#include "tracking-service/LaneSeeds.h"

namespace tracking_service {

void seedPurchase(ServiceStore&, const DemoSeed&) { }

} // namespace tracking_service
