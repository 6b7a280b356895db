// settings::NumberSendQueue: keeps the number requests of one device in single file. A request that sends
// several numbers echoes the ones it does not change as the record holds them when it is built, so two such
// requests in flight at once could let the later one undo the earlier, still unconfirmed one. Each job is
// built and posted only when the device's previous job has finished; a job calls `finished` exactly once,
// when its reply or failure has been handled. Jobs of different devices run side by side. Main thread.
//
//   settings::NumberSendQueue::shared().enqueue(serial, [device, typed](auto finished) {
//       core::WebCall::post("LumetSetManyPhoneConfig", bodyFor(*device, typed), [=](auto&) { ...; finished(); },
//           [=](auto&) { ...; finished(); }); });
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <string>

namespace settings {

class NumberSendQueue {
public:
    using Finished = std::function<void()>;
    using Job = std::function<void(Finished finished)>;

    static NumberSendQueue& shared();

    // Runs the job now when the device has none in flight, else after the ones before it.
    void enqueue(const std::string& serialNumber, Job job);
    bool isBusy(const std::string& serialNumber) const;
    size_t waitingCount(const std::string& serialNumber) const;

private:
    void run(const std::string& serialNumber, Job job);
    void finish(const std::string& serialNumber);

    std::map<std::string, std::deque<Job>> m_waiting;
    std::map<std::string, bool> m_busy;
};

} // namespace settings
