// core::storeLookupRoot: the root address of the store's public lookup service, where the application asks
// for its own published record (StoreLookupPath, the query key "id" and StoreIdentifier): the user-defaults
// setting "StoreLookupRoot" when it holds a text, else the configured server (Singleton::server()). The
// record is {"results": [{"version": <the published version>}, ...]}. Any thread.
//
//   std::string url = core::storeLookupRoot() + core::StoreLookupPath + "?id=" + core::StoreIdentifier;
#pragma once

#include <string>

namespace core {

inline constexpr const char* StoreLookupRootKey = "StoreLookupRoot";
inline constexpr const char* StoreLookupPath = "/lookup";
// The application's identifier in the store.
inline constexpr const char* StoreIdentifier = "1020108001";
// The published version for which purchases are sent as made in the store's test environment.
inline constexpr const char* DebugStoreVersion = "1.0.8";

std::string storeLookupRoot();
// The whole lookup address of the application's own record.
std::string storeLookupURL();

} // namespace core
