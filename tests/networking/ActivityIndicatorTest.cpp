// The network activity indicator: counting operations from their start and finish notifications (and from
// any thread), showing the status bar's indicator at once and hiding it 0.17 s after the count reaches zero.
#include "LoopbackFixture.h"

#include "base/loop/NotificationCenter.h"
#include "networking/http/HTTPRequestOperation.h"
#include "networking/http/NetworkActivityIndicatorManager.h"
#include "ui/view/Application.h"

#include <thread>

using namespace networking;

namespace {

class ActivityIndicator : public test::LoopbackFixture {
protected:
    void SetUp() override
    {
        LoopbackFixture::SetUp();
        application().setNetworkActivityIndicatorVisible(false);
        manager = NetworkActivityIndicatorManager::make();
        manager->setEnabled(true);
    }
    void TearDown() override
    {
        manager.reset();
        application().setNetworkActivityIndicatorVisible(false);
        LoopbackFixture::TearDown();
    }

    static ui::Application& application() { return ui::Application::shared(); }
    static bool indicatorShown() { return application().isNetworkActivityIndicatorVisible(); }
    void turn() { m_clock->advance(base::Duration(0)); }
    void advance(double seconds) { m_clock->advance(base::Duration(seconds)); }

    std::shared_ptr<NetworkActivityIndicatorManager> manager;
};

TEST_F(ActivityIndicator, TheCountNeverGoesBelowZero)
{
    manager->incrementActivityCount();
    manager->incrementActivityCount();
    EXPECT_EQ(manager->activityCount(), 2);
    for (int i = 0; i < 3; ++i)
        manager->decrementActivityCount();
    EXPECT_EQ(manager->activityCount(), 0);
    EXPECT_FALSE(manager->isNetworkActivityIndicatorVisible());
}

TEST_F(ActivityIndicator, ShowsAtOnceAndHidesShortlyAfterTheLastFinish)
{
    manager->incrementActivityCount();
    EXPECT_TRUE(manager->isNetworkActivityIndicatorVisible());
    turn();
    EXPECT_TRUE(indicatorShown());

    manager->decrementActivityCount();
    advance(0.16);
    EXPECT_TRUE(indicatorShown());
    advance(0.02);
    EXPECT_FALSE(indicatorShown());
}

TEST_F(ActivityIndicator, ActivityResumingWithinTheDelayKeepsTheIndicatorShown)
{
    manager->incrementActivityCount();
    turn();
    manager->decrementActivityCount();
    advance(0.1);
    manager->incrementActivityCount();
    advance(0.3);
    EXPECT_TRUE(indicatorShown());
    manager->setActivityCount(0);
    advance(0.17);
    EXPECT_FALSE(indicatorShown());
}

TEST_F(ActivityIndicator, WhileDisabledItCountsButNeverTouchesTheIndicator)
{
    manager->setEnabled(false);
    manager->incrementActivityCount();
    advance(1);
    EXPECT_FALSE(indicatorShown());
    EXPECT_EQ(manager->activityCount(), 1);

    manager->setEnabled(true);
    advance(1);
    EXPECT_FALSE(indicatorShown()) << "enabling waits for the next change of the count";
    manager->incrementActivityCount();
    turn();
    EXPECT_TRUE(indicatorShown());
}

TEST_F(ActivityIndicator, CountsFromOtherThreadsReachTheIndicatorOnTheMainThread)
{
    std::thread worker([this] { manager->incrementActivityCount(); });
    worker.join();
    ASSERT_TRUE(waitFor([] { return indicatorShown(); }));
    std::thread finisher([this] { manager->decrementActivityCount(); });
    finisher.join();
    turn();
    advance(0.17);
    EXPECT_FALSE(indicatorShown());
}

TEST_F(ActivityIndicator, FollowsRealOperationsFromTheirNotifications)
{
    m_server.server().Get("/wait", [this](const httplib::Request&, httplib::Response& response) {
        m_gate.wait();
        response.set_content("done", "text/plain");
    });
    m_server.start();
    auto operation = std::make_shared<HTTPRequestOperation>(net::URLRequest(base::URL::parse(m_server.url("/wait"))));
    bool finished = false;
    operation->setCompletionBlockWithSuccess(
        [&](const auto&, const auto&) { finished = true; }, [&](const auto&, const auto&) { finished = true; });
    operation->start();
    ASSERT_TRUE(waitFor([&] { return manager->activityCount() == 1; }));
    ASSERT_TRUE(waitFor([] { return indicatorShown(); }));

    m_gate.open();
    ASSERT_TRUE(waitFor([&] { return finished && manager->activityCount() == 0; }));
    EXPECT_TRUE(indicatorShown());
    advance(0.17);
    EXPECT_FALSE(indicatorShown());
}

TEST_F(ActivityIndicator, AnOperationWithoutAURLIsNotCounted)
{
    auto operation = std::make_shared<HTTPRequestOperation>(net::URLRequest());
    base::NotificationCenter::defaultCenter().post(URLConnectionOperation::DidStartNotification, operation);
    EXPECT_EQ(manager->activityCount(), 0);
}

} // namespace
