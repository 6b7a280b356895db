#include "tracking-service/ServiceMethods.h"

namespace tracking_service {

void addNumberMethods(WebMethodTable&) { }

} // namespace tracking_service
