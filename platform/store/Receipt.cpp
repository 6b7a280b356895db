#include "store/Receipt.h"

#include "base/system/Files.h"
#include "store/StorePaths.h"

namespace store {

bool Receipt::record(const PaymentTransaction& transaction)
{
    std::string bytes = base::Files::read(receiptURL()).value_or("");
    if (!bytes.starts_with(Marker))
        bytes = std::string(Marker);
    bytes += transaction.identifier() + " " + transaction.payment().productIdentifier + "\n";
    return base::Files::writeAtomically(receiptURL(), bytes, 0600);
}

bool Receipt::isMadeByLocalStore(std::string_view bytes)
{
    return bytes.starts_with(Marker) && bytes.size() > Marker.size() && bytes.ends_with('\n');
}

} // namespace store
