#include "shell/FeatureScreens.h"

namespace shell {

void registerChatScreens() { }

} // namespace shell
