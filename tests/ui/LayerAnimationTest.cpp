#include "ui/animation/BasicAnimation.h"
#include "ui/animation/KeyframeAnimation.h"
#include "ui/animation/Transaction.h"
#include "ui/layer/Layer.h"
#include "ui/view/View.h"
#include "ui/view/Window.h"

#include "UITestFixture.h"

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

using gfx::Point;
using gfx::Rect;

namespace {

class LayerAnimation : public test::UITest {
protected:
    void SetUp() override
    {
        UITest::SetUp();
        root = std::make_shared<ui::Layer>();
        layer = std::make_shared<ui::Layer>();
        layer->setFrame({ 0, 0, 100, 100 });
        root->addSublayer(layer);
    }
    std::shared_ptr<ui::Layer> root;
    std::shared_ptr<ui::Layer> layer;
};

class StopLog : public ui::AnimationDelegate {
public:
    void animationDidStop(const ui::Animation& animation, bool finished) override
    {
        const base::Value* type = animation.value("animationType");
        stops.push_back((type ? type->description() : std::string("?")) + (finished ? ":yes" : ":no"));
    }
    std::vector<std::string> stops;
};

std::shared_ptr<ui::BasicAnimation> move(Point to, double duration = 1)
{
    auto animation = std::make_shared<ui::BasicAnimation>("position");
    animation->setToValue(to);
    animation->setDuration(duration);
    return animation;
}

} // namespace

TEST_F(LayerAnimation, ExplicitAnimationsChangeWhatIsDrawnNotTheModel)
{
    ui::Transaction::begin();
    ui::Transaction::setDisableActions(true);
    layer->addAnimation(move({ 150, 50 }), "move");
    ui::Transaction::commit();
    EXPECT_EQ(layer->position(), (Point { 50, 50 }));
    advance(0.5);
    EXPECT_NEAR(layer->presentation().position.x, 100, 1e-9);
    EXPECT_EQ(layer->position(), (Point { 50, 50 }));
    advance(0.5);
    EXPECT_EQ(layer->presentation().position, (Point { 50, 50 }));
    EXPECT_EQ(layer->animationForKey("move"), nullptr);
}

TEST_F(LayerAnimation, TheAddedAnimationIsACopy)
{
    auto animation = move({ 150, 50 });
    layer->addAnimation(animation, "move");
    animation->setDuration(100);
    EXPECT_EQ(layer->animationForKey("move")->duration(), 1);
}

TEST_F(LayerAnimation, DelegatesHearTheEndOrTheReplacementWithTheirUserValues)
{
    auto log = std::make_shared<StopLog>();
    auto open = move({ 150, 50 }, 0.4);
    open->setValue("animationType", base::Value("open"));
    open->setDelegate(log);
    layer->addAnimation(open, "cover");
    advance(0.4);
    EXPECT_EQ(log->stops, (std::vector<std::string> { "open:yes" }));

    auto close = move({ 0, 0 }, 0.4);
    close->setValue("animationType", base::Value("close"));
    close->setDelegate(log);
    layer->addAnimation(close, "cover");
    layer->addAnimation(move({ 1, 1 }), "cover");
    EXPECT_EQ(log->stops.size(), 1u);
    turn();
    EXPECT_EQ(log->stops, (std::vector<std::string> { "open:yes", "close:no" }));
}

TEST_F(LayerAnimation, KeyframesOfOneComponentLeaveTheOtherAlone)
{
    auto bounce = std::make_shared<ui::KeyframeAnimation>("position.x");
    bounce->setValues({ 50.0, 90.0, 50.0, 70.0, 50.0 });
    bounce->setDuration(0.8);
    bounce->setFillMode(ui::FillMode::Forwards);
    layer->addAnimation(bounce, "bouncing");
    ui::Transaction::begin();
    ui::Transaction::setDisableActions(true);
    layer->setPosition({ 50, 80 });
    ui::Transaction::commit();
    advance(0.1);
    EXPECT_NEAR(layer->presentation().position.x, 70, 1e-6);
    advance(0.1);
    auto drawn = layer->presentation().position;
    EXPECT_NEAR(drawn.x, 90, 1e-6);
    EXPECT_EQ(drawn.y, 80);
    advance(0.4);
    EXPECT_NEAR(layer->presentation().position.x, 70, 1e-6);
    advance(0.2);
    EXPECT_EQ(layer->animationKeys(), std::vector<std::string> {});
}

TEST_F(LayerAnimation, FillForwardsKeepsTheEndWhileTheAnimationStays)
{
    auto window = std::make_shared<ui::Window>();
    window->layer()->addSublayer(root);
    auto fade = std::make_shared<ui::BasicAnimation>("opacity");
    fade->setFromValue(1.0);
    fade->setToValue(0.0);
    fade->setDuration(0.5);
    fade->setFillMode(ui::FillMode::Forwards);
    fade->setRemovedOnCompletion(false);
    layer->addAnimation(fade, "fade");
    advance(2);
    EXPECT_EQ(layer->presentation().opacity, 0);
    EXPECT_EQ(layer->opacity(), 1);
    ASSERT_NE(layer->animationForKey("fade"), nullptr);
    EXPECT_FALSE(ui::Layer::anyAnimationRunningInWindow());
}

TEST_F(LayerAnimation, CumulativeRepeatsKeepTurningAndCountForAHostOnlyWhileShown)
{
    auto window = std::make_shared<ui::Window>();
    window->makeKeyAndVisible();
    window->layer()->addSublayer(root);
    auto spin = std::make_shared<ui::BasicAnimation>("transform");
    spin->setToValue(gfx::Transform3D::makeRotation(std::numbers::pi / 2, 0, 0, 1));
    spin->setDuration(3);
    spin->setCumulative(true);
    spin->setRepeatCount(std::numeric_limits<double>::infinity());
    layer->addAnimation(spin, "animation");
    advance(1.5);
    EXPECT_NEAR(ui::AffineParts::decompose(layer->presentation().transform.affine()).angle, std::numbers::pi / 4, 1e-9);
    advance(3);
    EXPECT_NEAR(
        ui::AffineParts::decompose(layer->presentation().transform.affine()).angle, 3 * std::numbers::pi / 4, 1e-9);
    EXPECT_TRUE(ui::Layer::anyAnimationRunningInWindow());
    // Under a hidden layer, or out of any window, the turn shows nowhere.
    root->setHidden(true);
    EXPECT_FALSE(ui::Layer::anyAnimationRunningInWindow());
    root->setHidden(false);
    root->removeFromSuperlayer();
    EXPECT_FALSE(ui::Layer::anyAnimationRunningInWindow());
    window->layer()->addSublayer(root);
    EXPECT_TRUE(ui::Layer::anyAnimationRunningInWindow());
    layer->removeAllAnimations();
    EXPECT_FALSE(ui::Layer::anyAnimationRunningInWindow());
    window->setHidden(true);
}

TEST_F(LayerAnimation, StandAloneLayersAnimateImplicitlyUnlessActionsAreDisabled)
{
    layer->setOpacity(0);
    ASSERT_NE(layer->animationForKey("opacity"), nullptr);
    EXPECT_EQ(layer->animationForKey("opacity")->duration(), 0.25);
    advance(0.25);
    EXPECT_EQ(layer->presentation().opacity, 0);

    ui::Transaction::begin();
    ui::Transaction::setDisableActions(true);
    layer->setOpacity(1);
    ui::Transaction::commit();
    EXPECT_EQ(layer->animationForKey("opacity"), nullptr);

    ui::Transaction::begin();
    ui::Transaction::setAnimationDuration(0.18f);
    layer->setTransform(gfx::Transform3D::makeRotation(std::numbers::pi, 0, 0, 1));
    ui::Transaction::commit();
    EXPECT_NEAR(layer->animationForKey("transform")->duration(), 0.18f, 1e-12);

    // A layer in no tree, and a view's own layer, change without animating.
    auto loose = std::make_shared<ui::Layer>();
    loose->setOpacity(0.5);
    EXPECT_TRUE(loose->animationKeys().empty());
    auto view = std::make_shared<ui::View>();
    view->layer()->setOpacity(0.5);
    EXPECT_TRUE(view->layer()->animationKeys().empty());
}

TEST_F(LayerAnimation, ImplicitAnimationsStartFromWhatIsDrawn)
{
    ui::Transaction::begin();
    ui::Transaction::setAnimationTimingFunction(ui::TimingFunction::linear());
    ui::Transaction::setAnimationDuration(1);
    layer->setOpacity(0);
    ui::Transaction::commit();
    advance(0.5);
    ui::Transaction::begin();
    ui::Transaction::setAnimationTimingFunction(ui::TimingFunction::linear());
    ui::Transaction::setAnimationDuration(1);
    layer->setOpacity(1);
    ui::Transaction::commit();
    EXPECT_NEAR(layer->presentation().opacity, 0.5, 1e-9);
}

TEST_F(LayerAnimation, TransactionCompletionWaitsForItsAnimations)
{
    std::vector<double> completions;
    ui::Transaction::begin();
    ui::Transaction::setCompletionBlock([&] { completions.push_back(elapsed()); });
    layer->addAnimation(move({ 0, 0 }, 0.8), "bouncing");
    ui::Transaction::commit();
    advance(0.7);
    EXPECT_TRUE(completions.empty());
    advance(0.1);
    ASSERT_EQ(completions.size(), 1u);
    EXPECT_NEAR(completions[0], 0.8, 1e-6);

    // With no animation the block runs on the next turn, never inside commit.
    ui::Transaction::begin();
    ui::Transaction::setCompletionBlock([&] { completions.push_back(-1); });
    ui::Transaction::commit();
    EXPECT_EQ(completions.size(), 1u);
    turn();
    EXPECT_EQ(completions.size(), 2u);

    // A removed animation counts as stopped.
    ui::Transaction::begin();
    ui::Transaction::setCompletionBlock([&] { completions.push_back(-2); });
    layer->addAnimation(move({ 0, 0 }, 5), "long");
    ui::Transaction::commit();
    layer->removeAnimation("long");
    turn();
    EXPECT_EQ(completions.back(), -2);
}

TEST_F(LayerAnimation, AnchorPointAndFrameRelations)
{
    layer->setFrame({ 10, 20, 100, 40 });
    EXPECT_EQ(layer->position(), (Point { 60, 40 }));
    ui::Transaction::begin();
    ui::Transaction::setDisableActions(true);
    layer->setAnchorPoint({ 0, 0 });
    ui::Transaction::commit();
    EXPECT_EQ(layer->frame(), Rect(60, 40, 100, 40));
    layer->setFrame({ 0, 0, 10, 10 });
    EXPECT_EQ(layer->position(), (Point { 0, 0 }));
}
