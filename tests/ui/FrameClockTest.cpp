#include "ui/render/FrameClock.h"
#include "ui/render/DisplayLink.h"

#include "UITestFixture.h"

#include <vector>

class FrameClock : public test::UITest { };

TEST_F(FrameClock, DisplayLinksTickAtTheirIntervalOnVirtualTime)
{
    std::vector<double> ticks;
    auto link = std::make_shared<ui::DisplayLink>(
        [&](ui::DisplayLink& l) { ticks.push_back(base::Duration(l.timestamp().time_since_epoch()).count()); });
    link->setFrameInterval(6);
    link->addToRunLoop();
    advance(0.35);
    ASSERT_EQ(ticks.size(), 3u);
    EXPECT_NEAR(ticks[0], 0.1, 1e-6);
    EXPECT_NEAR(ticks[2], 0.3, 1e-6);

    link->setPaused(true);
    advance(0.2);
    EXPECT_EQ(ticks.size(), 3u);
    link->setPaused(false);
    std::weak_ptr<ui::DisplayLink> weak = link;
    link.reset();
    advance(0.1);
    EXPECT_EQ(ticks.size(), 4u);
    // Kept alive by the frame clock until invalidated.
    ASSERT_FALSE(weak.expired());
    weak.lock()->invalidate();
    EXPECT_TRUE(weak.expired());
    advance(0.2);
    EXPECT_EQ(ticks.size(), 4u);
}

TEST_F(FrameClock, EveryLayerInAFrameIsEvaluatedAtTheTurnsInstant)
{
    std::vector<double> instants;
    auto& frames = ui::FrameClock::main();
    auto link = std::make_shared<ui::DisplayLink>(
        [&](ui::DisplayLink&) { instants.push_back(base::Duration(frames.now().time_since_epoch()).count()); });
    link->addToRunLoop();
    advance(1.0 / 60);
    ASSERT_EQ(instants.size(), 1u);
    EXPECT_NEAR(instants[0], 1.0 / 60, 1e-6);
    link->invalidate();
}
