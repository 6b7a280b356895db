// The reachability flags of a network target: a bit set saying whether the target can be reached and how
// (directly, through this machine's own address, over a cellular modem, only once a connection is brought
// up). ReachabilityProbe computes them; callers turn them into a status of their own.
//
//   net::ReachabilityFlags flags = probe->flags().value_or(0);
//   bool cellular = flags & net::reachability::IsWWAN;
#pragma once

#include <cstdint>

namespace net {

using ReachabilityFlags = uint32_t;

namespace reachability {

    inline constexpr ReachabilityFlags TransientConnection = 1u << 0;
    inline constexpr ReachabilityFlags Reachable = 1u << 1;
    inline constexpr ReachabilityFlags ConnectionRequired = 1u << 2;
    inline constexpr ReachabilityFlags ConnectionOnTraffic = 1u << 3;
    inline constexpr ReachabilityFlags InterventionRequired = 1u << 4;
    inline constexpr ReachabilityFlags ConnectionOnDemand = 1u << 5;
    inline constexpr ReachabilityFlags IsLocalAddress = 1u << 16;
    inline constexpr ReachabilityFlags IsDirect = 1u << 17;
    inline constexpr ReachabilityFlags IsWWAN = 1u << 18;

} // namespace reachability

} // namespace net
