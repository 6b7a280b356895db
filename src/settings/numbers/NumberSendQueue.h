// settings::NumberSendQueue: keeps the number requests of one device in single file. A request that sends
// several numbers echoes the ones it does not change as the record holds them when it is built, so two such
// requests in flight at once could let the later one undo the earlier, still unconfirmed one. Each job is
// built and posted only when the device's previous job has finished; a job calls `finished` exactly once,
// when its reply or failure has come, handing over what the answer does (the record and the outcome alert).
// Jobs of different devices run side by side. A job belongs to the sign-in it was queued under
// (core::SignInSession): once that has ended, a waiting job is dropped unsent, the log saying once how many
// went, and the answer of one under way is dropped too, so that nothing of it shows to whoever is signed in
// now. Main thread.
//
//   settings::NumberSendQueue::shared().enqueue(serial, [device, typed](auto finished) {
//       core::WebCall::post("LumetSetManyPhoneConfig", bodyFor(*device, typed),
//           [=](auto& reply) { finished([=] { settle(reply); }); }, [=](auto&) { finished([=] { fail(); }); }); });
#pragma once

#include "core/state/SignInSession.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <string>

namespace settings {

class NumberSendQueue {
public:
    // What a job's answer does; run only while the job's sign-in is the current one.
    using Outcome = std::function<void()>;
    using Finished = std::function<void(Outcome outcome)>;
    using Job = std::function<void(Finished finished)>;

    static NumberSendQueue& shared();

    // Runs the job now when the device has none in flight, else after the ones before it.
    void enqueue(const std::string& serialNumber, Job job);
    bool isBusy(const std::string& serialNumber) const;
    size_t waitingCount(const std::string& serialNumber) const;

private:
    struct Queued {
        core::SignInSession signIn;
        Job job;
    };

    void run(const std::string& serialNumber, Queued queued);
    void finish(const std::string& serialNumber);

    std::map<std::string, std::deque<Queued>> m_waiting;
    std::map<std::string, bool> m_busy;
};

} // namespace settings
