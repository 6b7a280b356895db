// core::rootUrl: the address of the tracking web service the application talks to: the server chosen for this
// launch (the command line's) when there is one, else the user-defaults setting "RootUrl" when it holds a
// text, else the local tracking service. A server chosen for the launch becomes the setting, for later
// launches, only once a sign-in against it has succeeded (keepLaunchRootUrl). Any thread.
//
//   core::setLaunchRootUrl(options.server);
//   auto service = base::URL::parse(core::rootUrl());
//   if (signedIn) core::keepLaunchRootUrl();
#pragma once

#include <optional>
#include <string>

namespace core {

inline constexpr const char* RootUrlKey = "RootUrl";
// The local tracking service that scripts/run starts.
inline constexpr const char* DefaultRootUrl = "http://127.0.0.1:8080";

std::string rootUrl();
// Nothing: no server chosen for the launch.
void setLaunchRootUrl(std::optional<std::string> root);
// Writes the launch's server into the setting; nothing without one.
void keepLaunchRootUrl();

} // namespace core
