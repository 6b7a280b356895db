#include "shell/FeatureScreens.h"

namespace shell {

void registerChallengeScreens() { }

} // namespace shell
