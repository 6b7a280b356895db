#include "shell/FeatureScreens.h"

namespace shell {

void registerSettingsScreens() { }

} // namespace shell
