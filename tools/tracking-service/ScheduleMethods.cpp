#include "tracking-service/ServiceMethods.h"

namespace tracking_service {

void addScheduleMethods(WebMethodTable&) { }

} // namespace tracking_service
