// The status codes of the keychain item store's operations: 0 for success, a negative code for each kind
// of failure. Callers turn a code into an error of their own domain.
//
//   security::Status status = store.add(*attributes);
//   if (status == security::status::DuplicateItem) ...
#pragma once

#include <cstdint>

namespace security {

using Status = int32_t;

namespace status {

    inline constexpr Status Success = 0;
    inline constexpr Status Unimplemented = -4;
    // A query, an item or a change holds a key or a value the store does not accept.
    inline constexpr Status Param = -50;
    inline constexpr Status Allocate = -108;
    // The store's file cannot be read or written (a missing folder that cannot be made, a full disk, an
    // unreadable file, a corrupt file that cannot be moved aside).
    inline constexpr Status NotAvailable = -25291;
    inline constexpr Status AuthFailed = -25293;
    inline constexpr Status DuplicateItem = -25299;
    inline constexpr Status ItemNotFound = -25300;
    inline constexpr Status InteractionNotAllowed = -25308;
    inline constexpr Status Decode = -26275;

} // namespace status

} // namespace security
