// test::LoopbackFixture: the frame of the networking tests: the manual clock, a loopback server, short
// time-outs, and a tear-down that ends every transfer (stopping the transfers closes the kept-alive
// connections, so the server's workers end at once) before the server stops.
#pragma once

#include "LoopbackServer.h"

#include "base/loop/RunLoop.h"
#include "base/time/ManualClock.h"
#include "net/http/URLRequest.h"
#include "net/loading/MainLoopTransfers.h"

#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>

namespace test {

// Holds a server handler until the test lets it go (always before the server stops).
class Gate {
public:
    void wait()
    {
        std::unique_lock lock(m_mutex);
        m_opened.wait(lock, [this] { return m_open; });
    }
    void open()
    {
        {
            std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_opened.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_opened;
    bool m_open { false };
};

class LoopbackFixture : public testing::Test {
protected:
    void SetUp() override
    {
        m_clock = base::ManualClock::install();
        // Only a transfer something lost times out: a reply held at the gate is held as long as the test
        // takes. Tests that wait out a time-out set a short one.
        net::URLRequest::setDefaultTimeoutInterval(std::chrono::seconds(60));
    }
    void TearDown() override
    {
        m_gate.open();
        net::MainLoopTransfers::shared().stop();
        m_server.stop();
        net::URLRequest::setDefaultTimeoutInterval(std::chrono::seconds(60));
        base::RunLoop::main().cancelAllPendingWork();
        base::Clock::install(base::Clock::system());
    }

    // Runs the main loop until `done` holds, waiting for the replies.
    bool waitFor(const std::function<bool()>& done)
    {
        return base::RunLoop::main().runUntil(done, std::chrono::seconds(60));
    }

    std::shared_ptr<base::ManualClock> m_clock;
    LoopbackServer m_server;
    Gate m_gate;
};

} // namespace test
