#include "shell/FeatureScreens.h"

namespace shell {

void registerNumberScreens() { }

} // namespace shell
