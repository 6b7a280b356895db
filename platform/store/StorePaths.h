// The store stand-in's files, in the folder "store" under the data root: the script that tests and the tour
// write (StoreScript), the queue of transactions not finished yet (PaymentQueue) and the purchase receipt.
// Any thread.
//
//   std::optional<std::string> receipt = base::Files::read(store::receiptURL());
#pragma once

#include <filesystem>

namespace store {

std::filesystem::path storeFolder();
std::filesystem::path scriptPath();
std::filesystem::path queuePath();
// The receipt of the purchases made on this machine; absent before the first one.
std::filesystem::path receiptURL();

} // namespace store
