#include "core/RootUrl.h"

#include "base/UserDefaults.h"

namespace core {

std::string rootUrl() { return base::UserDefaults::standard().stringForKey(RootUrlKey).value_or(DefaultRootUrl); }

} // namespace core
