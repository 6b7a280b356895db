#include "tracking-service/ServiceMethods.h"

namespace tracking_service {

void addChatMethods(WebMethodTable&) { }

} // namespace tracking_service
