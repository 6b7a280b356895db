#include "tracking-service/LaneSeeds.h"

namespace tracking_service {

void seedChat(ServiceStore&, const DemoSeed&) { }

} // namespace tracking_service
