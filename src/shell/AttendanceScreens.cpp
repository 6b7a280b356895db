#include "shell/FeatureScreens.h"

namespace shell {

void registerAttendanceScreens() { }

} // namespace shell
