#include "tracking-service/LaneSeeds.h"

namespace tracking_service {

void seedSettings(ServiceStore&, const DemoSeed&) { }

} // namespace tracking_service
