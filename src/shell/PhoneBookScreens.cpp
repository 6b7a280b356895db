#include "shell/FeatureScreens.h"

namespace shell {

void registerPhoneBookScreens() { }

} // namespace shell
