#include "UITestFixture.h"

#include "ui/dynamics/AttachmentBehavior.h"
#include "ui/dynamics/DynamicAnimator.h"
#include "ui/dynamics/DynamicItemBehavior.h"
#include "ui/dynamics/PushBehavior.h"
#include "ui/dynamics/SnapBehavior.h"
#include "ui/view/View.h"

#include <cmath>

namespace {

class PauseCounter : public ui::DynamicAnimatorDelegate {
public:
    int pauses = 0;
    int resumes = 0;
    void dynamicAnimatorDidPause(ui::DynamicAnimator&) override { ++pauses; }
    void dynamicAnimatorWillResume(ui::DynamicAnimator&) override { ++resumes; }
};

class Dynamics : public test::UITest {
protected:
    void SetUp() override
    {
        test::UITest::SetUp();
        reference = std::make_shared<ui::View>(gfx::Rect { 0, 0, 320, 568 });
        item = std::make_shared<ui::View>(gfx::Rect { 110, 234, 100, 100 });
        reference->addSubview(item);
        animator = std::make_shared<ui::DynamicAnimator>(reference);
        counter = std::make_shared<PauseCounter>();
        animator->setDelegate(counter);
    }

    double angleOf(const ui::View& view) const { return std::atan2(view.transform().b, view.transform().a); }

    std::shared_ptr<ui::View> reference;
    std::shared_ptr<ui::View> item;
    std::shared_ptr<ui::DynamicAnimator> animator;
    std::shared_ptr<PauseCounter> counter;
};

TEST_F(Dynamics, AttachedPointFollowsTheAnchorAndTheItemSwingsAboutIt)
{
    gfx::Point touched { 190, 254 }; // 30 right of and 30 above the centre
    auto drag = std::make_shared<ui::AttachmentBehavior>(item, gfx::Point { 30, -30 }, touched);
    animator->addBehavior(drag);
    animator->addBehavior(std::make_shared<ui::DynamicItemBehavior>(std::vector { item }));
    advance(0.1);
    EXPECT_EQ(drag->length(), 0.0);
    EXPECT_NEAR(item->center().x, 160, 1e-6) << "nothing moves while the anchor stays";

    drag->setAnchorPoint({ 250, 254 });
    advance(0.5);
    gfx::Point tied = item->convertPointTo({ 80, 20 }, reference.get());
    EXPECT_NEAR(tied.x, 250, 0.5);
    EXPECT_NEAR(tied.y, 254, 0.5);
    EXPECT_NE(angleOf(*item), 0) << "pulled off centre, the item turns";
}

TEST_F(Dynamics, InstantaneousPushGivesOneImpulseScaledByMass)
{
    auto push = std::make_shared<ui::PushBehavior>(std::vector { item }, ui::PushBehaviorMode::Instantaneous);
    animator->addBehavior(push);
    push->setPushDirection({ 2, 0 });
    push->setActive(true);
    advance(1.0 / 60);
    EXPECT_NEAR(animator->linearVelocityForItem(*item).dx, 200, 1e-9) << "magnitude 2 on a mass of 1";
    EXPECT_FALSE(push->active());
    double x = item->center().x;
    advance(0.5);
    EXPECT_NEAR(item->center().x - x, 100, 1) << "no resistance: it keeps its speed";
    EXPECT_TRUE(animator->isRunning());

    auto heavy = std::make_shared<ui::View>(gfx::Rect { 0, 0, 200, 100 });
    reference->addSubview(heavy);
    auto second = std::make_shared<ui::PushBehavior>(std::vector { heavy }, ui::PushBehaviorMode::Instantaneous);
    second->setAngle(M_PI / 2);
    second->setMagnitude(1);
    animator->addBehavior(second);
    advance(1.0 / 60);
    EXPECT_NEAR(animator->linearVelocityForItem(*heavy).dy, 50, 1e-9) << "twice the area, half the speed";
}

TEST_F(Dynamics, ItemBehaviourSpinsAndHoldsItsItemsProperties)
{
    auto physics = std::make_shared<ui::DynamicItemBehavior>(std::vector { item });
    physics->setResistance(0);
    physics->setFriction(0.2);
    physics->addAngularVelocity(1, *item);
    EXPECT_EQ(animator->angularVelocityForItem(*item), 0) << "not in an animator yet";
    animator->addBehavior(physics);
    physics->addAngularVelocity(2, *item);
    advance(0.5);
    EXPECT_NEAR(angleOf(*item), 1, 0.02);
    EXPECT_EQ(item->center(), (gfx::Point { 160, 284 }));

    physics->setAllowsRotation(false);
    advance(0.5);
    EXPECT_NEAR(angleOf(*item), 1, 0.02);
    EXPECT_EQ(animator->angularVelocityForItem(*item), 0);
}

TEST_F(Dynamics, AnimatorPausesAtRestAndResumesWhenTheAnchorMoves)
{
    auto drag = std::make_shared<ui::AttachmentBehavior>(item, gfx::Point {}, item->center());
    animator->addBehavior(drag);
    EXPECT_EQ(counter->resumes, 1);
    advance(0.2);
    EXPECT_FALSE(animator->isRunning());
    EXPECT_EQ(counter->pauses, 1);

    drag->setAnchorPoint({ 100, 100 });
    EXPECT_TRUE(animator->isRunning());
    advance(0.2);
    EXPECT_EQ(item->center(), (gfx::Point { 100, 100 }));
}

TEST_F(Dynamics, RemovingBehavioursIsHarmlessAndDropsTheBodies)
{
    auto snap = std::make_shared<ui::SnapBehavior>(item, gfx::Point { 160, 100 });
    animator->removeBehavior(snap);
    auto push = std::make_shared<ui::PushBehavior>(std::vector { item }, ui::PushBehaviorMode::Continuous);
    push->setMagnitude(1);
    animator->addBehavior(push);
    animator->addBehavior(push);
    EXPECT_EQ(animator->behaviors().size(), 1u);
    advance(0.2);
    EXPECT_GT(animator->linearVelocityForItem(*item).dx, 0);

    animator->removeAllBehaviors();
    EXPECT_FALSE(animator->isRunning());
    EXPECT_FALSE(push->dynamicAnimator());
    EXPECT_EQ(animator->linearVelocityForItem(*item).dx, 0);
    gfx::Point stopped = item->center();
    advance(0.5);
    EXPECT_EQ(item->center(), stopped);
}

TEST_F(Dynamics, SnapBringsTheItemToItsPointUpright)
{
    item->setTransform(gfx::AffineTransform::makeRotation(0.5));
    auto snap = std::make_shared<ui::SnapBehavior>(item, gfx::Point { 160, 100 });
    snap->setDamping(1);
    animator->addBehavior(snap);
    advance(2);
    EXPECT_NEAR(item->center().x, 160, 0.5);
    EXPECT_NEAR(item->center().y, 100, 0.5);
    EXPECT_NEAR(angleOf(*item), 0, 0.01);
    EXPECT_FALSE(animator->isRunning());
}

TEST_F(Dynamics, ItemsInsideOtherViewsMoveInTheReferenceViewsCoordinates)
{
    auto container = std::make_shared<ui::View>(gfx::Rect { 0, 100, 320, 468 });
    reference->addSubview(container);
    container->addSubview(item);
    item->setTransform(gfx::AffineTransform::makeScale(0.5, 0.5));
    auto drag = std::make_shared<ui::AttachmentBehavior>(item, gfx::Point {}, gfx::Point { 160, 384 });
    animator->addBehavior(drag);
    drag->setAnchorPoint({ 60, 150 });
    advance(0.5);
    EXPECT_NEAR(item->center().x, 60, 0.5);
    EXPECT_NEAR(item->center().y, 50, 0.5) << "the container starts 100 points down";
    EXPECT_NEAR(item->transform().a, 0.5, 1e-9) << "the item keeps its scale";
}

} // namespace
