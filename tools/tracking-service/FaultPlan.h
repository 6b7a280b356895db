// tracking_service::FaultPlan: which endpoints of the local tracking service fail, and how. An endpoint is a
// web method's name, "LumetDow.ashx" and "PushMessage.ashx" for the file endpoints, or "lookup" and
// "feedback" for the routes of ServiceRoutes.h; AllEndpoints applies to every one without a fault of its own.
// A fault stays until cleared. A request held by a delay fault goes on as soon as its endpoint no longer has
// a delay fault, so a test or a script can hold a request and let it go at the moment it chooses; letGo()
// lets the requests held on one endpoint go one at a time, in any order, each with its own answer. Safe from
// any thread.
//
//   service.faults().set("Login", tracking_service::Fault::dropConnection());
//   service.faults().clear();
#pragma once

#include "tracking-service/Fault.h"

#include <chrono>
#include <condition_variable>
#include <list>
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

    enum class HoldEnd { Elapsed, Lifted, LetGo, Stopping };
    struct HoldOutcome {
        HoldEnd end;
        // For a request let go: the fault to answer it with; empty: answer it normally.
        std::optional<Fault> answer;
    };
    // Holds the calling request for `duration`, less when the endpoint's delay fault is lifted or replaced by
    // another kind (Lifted), when letGo() reaches it (LetGo), or when holding stops (Stopping).
    HoldOutcome hold(std::string_view endpoint, std::chrono::milliseconds duration);
    // Lets the request held on the endpoint in `place` (0 the first) since the endpoint's fault was set go,
    // answered with `answer` (a fault of another kind than a delay) or, when empty, normally. A request not
    // yet held there is let go as soon as it is.
    void letGo(std::string_view endpoint, size_t place, std::optional<Fault> answer = std::nullopt);
    // How many requests are being held now by a held() fault: their answers come only when they are let go. A
    // request stops counting the moment its hold ends (letGo() reaches it, its fault is lifted or replaced, or
    // holding stops), not when its thread wakes: its answer is on its way from then on.
    size_t heldNow() const;
    // Ends every hold, and every later one at once, with Stopping until resumeHolding().
    void stopHolding();
    void resumeHolding();

private:
    // A request being held; its outcome is set, under the lock, by whatever ends the hold.
    struct Hold {
        std::string endpoint;
        size_t place;
        bool untilLetGo;
        std::optional<HoldOutcome> outcome;
    };

    const Fault* find(std::string_view endpoint) const;
    // Without taking the lock: the caller holds it.
    void forgetHolds(std::string_view endpoint);
    // Ends every hold that the faults, the answers let go and holding's stop now end; then wakes the holders.
    void endHolds();

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<std::string, Fault, std::less<>> m_faults;
    // Per endpoint, since its fault was set: how many requests were held, and the answers of those let go, by
    // their place.
    std::map<std::string, size_t, std::less<>> m_heldCount;
    std::map<std::string, std::map<size_t, std::optional<Fault>>, std::less<>> m_letGo;
    std::list<Hold> m_holds;
    bool m_stopping { false };
};

} // namespace tracking_service
