#include "tracking-service/ServiceMethods.h"

namespace tracking_service {

void addChallengeMethods(WebMethodTable&) { }

} // namespace tracking_service
