#include "shell/FeatureScreens.h"

namespace shell {

void registerScheduleScreens() { }

} // namespace shell
