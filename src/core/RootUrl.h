// core::rootUrl: the address of the tracking web service the application talks to: the user-defaults
// setting "RootUrl" when it holds a text, else the local tracking service. Any thread.
//
//   auto service = base::URL::parse(core::rootUrl());
#pragma once

#include <string>

namespace core {

inline constexpr const char* RootUrlKey = "RootUrl";
// The local tracking service that scripts/run starts.
inline constexpr const char* DefaultRootUrl = "http://127.0.0.1:8080";

std::string rootUrl();

} // namespace core
