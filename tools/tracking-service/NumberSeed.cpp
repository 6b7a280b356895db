#include "tracking-service/LaneSeeds.h"

namespace tracking_service {

void seedNumber(ServiceStore&, const DemoSeed&) { }

} // namespace tracking_service
