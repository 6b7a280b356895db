#include "tracking-service/ServiceMethods.h"

namespace tracking_service {

void addPhoneBookMethods(WebMethodTable&) { }

} // namespace tracking_service
