// The challenge's completion screen against the local service: the falling images from the seeded random
// source while the screen is shown, and the two buttons that end the challenge.
#include "ChallengeFixture.h"

#include "childcare/challenge/CompleteChallengeVC.h"
#include "ui/controls/ImageView.h"

#include <cmath>

namespace {

using childcare::CompleteChallengeVC;
using tracking_service::Fault;

class ChallengeComplete : public test::ChallengeTest {
protected:
    void SetUp() override
    {
        ChallengeTest::SetUp();
        signInWith(watch);
        device = home()->deviceDetail();
    }

    std::shared_ptr<CompleteChallengeVC> open()
    {
        auto screen = CompleteChallengeVC::make(device);
        push(screen);
        return screen;
    }

    static std::vector<std::shared_ptr<ui::ImageView>> fallingImages(const std::shared_ptr<CompleteChallengeVC>& screen)
    {
        std::vector<std::shared_ptr<ui::ImageView>> images;
        for (const auto& view : screen->view()->subviews())
            if (auto image = std::dynamic_pointer_cast<ui::ImageView>(view))
                images.push_back(image);
        return images;
    }

    std::shared_ptr<core::Device> device;
};

TEST_F(ChallengeComplete, ImagesFallFromTheSeededSourceWhileTheScreenIsShown)
{
    auto screen = open();
    base::Random::shared().setSeed(42);
    base::Random expected(42);
    clock->advance(0.3s);
    auto images = fallingImages(screen);
    ASSERT_EQ(images.size(), 1u);

    double radius = static_cast<double>(expected.nextBelow(11)) + 10;
    double left = static_cast<double>(expected.nextBelow(320)) - radius;
    expected.nextBelow(11);
    double drift = static_cast<double>(expected.nextBelow(100)) - 50;
    EXPECT_EQ(images[0]->bounds().size, (gfx::Size { 2 * radius, 2 * radius }));
    // The model values are the fall's end: drifted sideways, at the bottom edge.
    EXPECT_DOUBLE_EQ(images[0]->center().x, left + radius + drift);
    EXPECT_DOUBLE_EQ(images[0]->center().y, screen->view()->bounds().height());

    clock->advance(0.9s);
    EXPECT_EQ(fallingImages(screen).size(), 4u);
}

TEST_F(ChallengeComplete, AFallingImageIsDrawnInGold)
{
    auto screen = open();
    clock->advance(0.3s);
    auto images = fallingImages(screen);
    ASSERT_EQ(images.size(), 1u);
    // Stop the fall where it began, so the probe finds the star at its start.
    images[0]->layer()->removeAllAnimations();
    images[0]->setTransform(gfx::AffineTransform::identity());
    images[0]->setFrame({ 100, 200, 40, 40 });
    gfx::Color colour = colourAt(images[0], { 20, 21 });
    EXPECT_GT(colour.r, 0.9);
    EXPECT_GT(colour.g, 0.7);
    EXPECT_LT(colour.b, 0.3);
}

TEST_F(ChallengeComplete, NoImageIsAddedAfterTheScreenIsLeftAndTheLastOnesGo)
{
    auto screen = open();
    clock->advance(0.6s);
    navigation()->popViewController(false);
    EXPECT_FALSE(screen->isFalling());
    size_t left = fallingImages(screen).size();
    pass(2);
    EXPECT_EQ(fallingImages(screen).size(), left);
    pass(6);
    EXPECT_TRUE(fallingImages(screen).empty());
}

TEST_F(ChallengeComplete, EitherButtonEndsTheChallengeAndClosesTheScreen)
{
    for (int tag : { CompleteChallengeVC::cashBonusTag, CompleteChallengeVC::cancelCashTag }) {
        device->lumetDeviceConfig->TargetStepCount = 6000;
        device->lumetDeviceConfig->IsPerdometerRunning = true;
        device->lumetDeviceConfig->IsPerdometerFinish = false;
        auto screen = open();
        size_t before = requestsTo("LumetCancelParentChildInteraction");
        tap(tag == CompleteChallengeVC::cashBonusTag ? screen->cashBonus() : screen->cancelCash());
        ASSERT_TRUE(pumpUntil([this] { return navigation()->topViewController() == home(); }));
        EXPECT_EQ(requestsTo("LumetCancelParentChildInteraction"), before + 1);
        EXPECT_EQ(device->lumetDeviceConfig->TargetStepCount, 0);
        EXPECT_FALSE(device->lumetDeviceConfig->IsPerdometerRunning);
        EXPECT_TRUE(device->lumetDeviceConfig->IsPerdometerFinish);
    }
}

TEST_F(ChallengeComplete, AnEndingTheServerDoesNotAcceptLeavesTheScreenToPressAgain)
{
    auto screen = open();
    for (const Fault& fault : { Fault::status(503), Fault::dropConnection(), Fault::nullPayload(), Fault::refusal() }) {
        service.faults().set("LumetCancelParentChildInteraction", fault);
        tap(screen->cashBonus());
        ASSERT_TRUE(pumpUntil([this] { return networkIdle(); }));
        pass(0.5);
        EXPECT_EQ(top<CompleteChallengeVC>(), screen);
        EXPECT_EQ(device->lumetDeviceConfig->TargetStepCount, 6000);
    }
    service.faults().clear();
    tap(screen->cancelCash());
    ASSERT_TRUE(pumpUntil([this] { return navigation()->topViewController() == home(); }));
}

} // namespace
