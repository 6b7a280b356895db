#include "tracking-service/ServiceMethods.h"

namespace tracking_service {

void addAttendanceMethods(WebMethodTable&) { }

} // namespace tracking_service
