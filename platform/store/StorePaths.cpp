#include "store/StorePaths.h"

#include "base/system/Paths.h"

namespace store {

std::filesystem::path storeFolder() { return base::Paths::dataRoot() / "store"; }

std::filesystem::path scriptPath() { return storeFolder() / "script.strings"; }

std::filesystem::path queuePath() { return storeFolder() / "queue"; }

std::filesystem::path receiptURL() { return storeFolder() / "receipt"; }

} // namespace store
