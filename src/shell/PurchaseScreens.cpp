#include "shell/FeatureScreens.h"

namespace shell {

void registerPurchaseScreens() { }

} // namespace shell
