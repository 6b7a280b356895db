// networking::CallsInFlight: counts a client's calls from the moment they are queued until their success or
// failure block has run on its queue (or it is certain that none will run). Each call holds a ticket; the
// count drops when the last copy of the ticket goes. The completion path carries the ticket into the task
// that runs the block, so a call is never counted as delivered before its block has returned. A ticket that
// goes on another thread wakes the main loop, so that a main loop waiting on the count sees it drop.
//
// Any thread: tickets are issued and released anywhere, the count is read anywhere.
//
//   auto ticket = calls.issue();       // calls.count() == 1
//   queue->async([ticket] { ... });    // drops to 0 once the task has run and been released
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>

namespace networking {

class CallsInFlight {
public:
    using Ticket = std::shared_ptr<const void>;

    Ticket issue();
    size_t count() const { return m_count->load(); }

private:
    std::shared_ptr<std::atomic<size_t>> m_count { std::make_shared<std::atomic<size_t>>(0) };
};

} // namespace networking
