// tracking_service::FaultPlan: which endpoints of the local tracking service fail, and how. An endpoint is a
// web method's name, "LumetDow.ashx" and "PushMessage.ashx" for the file endpoints, or "lookup" and
// "feedback" for the routes of ServiceRoutes.h; AllEndpoints applies to every one without a fault of its own.
// A fault stays until cleared. Safe from any thread.
//
//   service.faults().set("Login", tracking_service::Fault::dropConnection());
//   service.faults().clear();
#pragma once

#include "tracking-service/Fault.h"

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

private:
    mutable std::mutex m_mutex;
    std::map<std::string, Fault, std::less<>> m_faults;
};

} // namespace tracking_service
