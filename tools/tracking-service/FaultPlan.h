// tracking_service::FaultPlan: which endpoints of the local tracking service fail, and how. An endpoint is a
// web method's name, "LumetDow.ashx" and "PushMessage.ashx" for the file endpoints, or "lookup" and
// "feedback" for the routes of ServiceRoutes.h; AllEndpoints applies to every one without a fault of its own.
// A fault stays until cleared. A request held by a delay fault goes on as soon as its endpoint no longer has
// a delay fault, so a test or a script can hold a request and let it go at the moment it chooses. Safe from
// any thread.
//
//   service.faults().set("Login", tracking_service::Fault::dropConnection());
//   service.faults().clear();
#pragma once

#include "tracking-service/Fault.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace tracking_service {

class FaultPlan {
public:
    static constexpr const char* AllEndpoints = "*";

    void set(std::string endpoint, Fault fault);
    void remove(std::string_view endpoint);
    void clear();
    // The endpoint's own fault, else the one for all endpoints, else nothing.
    std::optional<Fault> faultFor(std::string_view endpoint) const;

    enum class HoldEnd { Elapsed, Lifted, Stopping };
    // Holds the calling request for `duration`, less when the endpoint's delay fault is lifted or replaced by
    // another kind (Lifted), or when holding stops (Stopping).
    HoldEnd hold(std::string_view endpoint, std::chrono::milliseconds duration);
    // Ends every hold, and every later one at once, with Stopping until resumeHolding().
    void stopHolding();
    void resumeHolding();

private:
    const Fault* find(std::string_view endpoint) const;
    void changed();

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<std::string, Fault, std::less<>> m_faults;
    bool m_stopping { false };
};

} // namespace tracking_service
