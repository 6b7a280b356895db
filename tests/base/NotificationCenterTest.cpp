#include "base/loop/NotificationCenter.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using base::Notification;
using base::NotificationCenter;

namespace {

struct Sender {
    int id = 0;
};

class NotificationCenterTest : public ::testing::Test {
protected:
    NotificationCenter center;
    std::vector<std::string> heard;
    NotificationCenter::Block record(std::string who)
    {
        return [this, who](const Notification&) { heard.push_back(who); };
    }
};

TEST_F(NotificationCenterTest, DeliversToObserversOfTheNameInRegistrationOrder)
{
    center.addObserver("didStart", nullptr, record("first"));
    center.addObserver("didFinish", nullptr, record("other name"));
    center.addObserver("didStart", nullptr, record("second"));
    center.post("didStart");
    EXPECT_EQ(heard, (std::vector<std::string> { "first", "second" }));
}

TEST_F(NotificationCenterTest, SenderFilterAndObjectAndUserInfoReachTheObserver)
{
    auto mine = std::make_shared<Sender>(Sender { 1 });
    auto other = std::make_shared<Sender>(Sender { 2 });
    std::vector<int> senders;
    std::string state;
    center.addObserver("changed", mine.get(), [&](const Notification& notification) {
        senders.push_back(notification.objectAs<Sender>()->id);
        if (notification.userInfo)
            state = notification.userInfo->objectForKey("state")->stringValue();
    });
    center.addObserver("changed", nullptr, [&](const Notification& notification) {
        senders.push_back(notification.object ? notification.objectAs<Sender>()->id * 10 : 0);
    });
    center.post("changed", other);
    center.post("changed", mine, base::Dictionary::make({ { "state", "reachable" } }));
    center.post("changed");
    EXPECT_EQ(senders, (std::vector<int> { 20, 1, 10, 0 }));
    EXPECT_EQ(state, "reachable");
}

TEST_F(NotificationCenterTest, ObserverRemovedDuringDeliveryIsNotCalledAfterwards)
{
    NotificationCenter::ObserverToken later = 0;
    NotificationCenter::ObserverToken self = 0;
    self = center.addObserver("tapped", nullptr, [&](const Notification&) {
        heard.push_back("remover");
        center.removeObserver(later);
        center.removeObserver(self); // its own block stays alive until it returns
        heard.push_back("remover returns");
        center.addObserver("tapped", nullptr, record("added during delivery"));
    });
    later = center.addObserver("tapped", nullptr, record("later"));
    center.post("tapped");
    EXPECT_EQ(heard, (std::vector<std::string> { "remover", "remover returns" }));
    heard.clear();
    center.post("tapped");
    EXPECT_EQ(heard, (std::vector<std::string> { "added during delivery" }));
}

TEST_F(NotificationCenterTest, RemovingAnOwnerRemovesAllItsRegistrations)
{
    int screen = 0;
    int otherScreen = 0;
    center.addObserver("a", nullptr, record("screen a"), &screen);
    center.addObserver("b", nullptr, record("screen b"), &screen);
    center.addObserver("a", nullptr, record("other screen"), &otherScreen);
    center.removeObservers(&screen);
    center.post("a");
    center.post("b");
    EXPECT_EQ(heard, (std::vector<std::string> { "other screen" }));
}

} // namespace
