#include "ui/view/View.h"
#include "ui/view/Window.h"

#include "UITestFixture.h"

#include <optional>
#include <string>
#include <vector>

using gfx::Point;
using gfx::Rect;

namespace {

class ViewAnimation : public test::UITest {
protected:
    void SetUp() override
    {
        UITest::SetUp();
        window = std::make_shared<ui::Window>();
        view = std::make_shared<ui::View>(Rect(0, 0, 100, 100));
        window->addSubview(view);
    }
    double drawnAlpha() const { return view->layer()->presentation().opacity; }
    Point drawnCentre() const { return view->layer()->presentation().position; }

    // Records each completion as (seconds since the test began, finished).
    std::function<void(bool)> record(std::vector<std::pair<double, bool>>& into)
    {
        return [this, &into](bool finished) { into.push_back({ elapsed(), finished }); };
    }

    std::shared_ptr<ui::Window> window;
    std::shared_ptr<ui::View> view;
};

} // namespace

TEST_F(ViewAnimation, ModelChangesAtOnceAndOnlyTheDrawnValueAnimates)
{
    ui::View::animateWithDuration(1.0, 0, ui::AnimationOptions::CurveLinear, [&] {
        view->setAlpha(0);
        view->setCenter({ 150, 50 });
    });
    EXPECT_EQ(view->alpha(), 0);
    EXPECT_EQ(view->center(), (Point { 150, 50 }));
    EXPECT_DOUBLE_EQ(drawnAlpha(), 1);
    advance(0.25);
    EXPECT_NEAR(drawnAlpha(), 0.75, 1e-9);
    EXPECT_NEAR(drawnCentre().x, 75, 1e-9);
    advance(0.75);
    EXPECT_EQ(drawnAlpha(), 0);
    EXPECT_TRUE(view->layer()->animationKeys().empty());
}

TEST_F(ViewAnimation, CompletionRunsAtTheEndWithFinished)
{
    std::vector<std::pair<double, bool>> done;
    ui::View::animateWithDuration(
        0.3, 0.2, 0, [&] { view->setAlpha(0.5); }, record(done));
    advance(0.49);
    EXPECT_TRUE(done.empty());
    advance(0.01);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_NEAR(done[0].first, 0.5, 1e-6);
    EXPECT_TRUE(done[0].second);
}

TEST_F(ViewAnimation, DelayShowsTheOldValueUntilTheAnimationStarts)
{
    ui::View::animateWithDuration(1.0, 0.5, ui::AnimationOptions::CurveLinear, [&] { view->setAlpha(0); });
    advance(0.4);
    EXPECT_DOUBLE_EQ(drawnAlpha(), 1);
    advance(0.6);
    EXPECT_NEAR(drawnAlpha(), 0.5, 1e-9);
}

TEST_F(ViewAnimation, ZeroDurationAppliesAtOnceAndCompletesOnTheNextTurn)
{
    std::vector<std::pair<double, bool>> done;
    ui::View::animateWithDuration(
        0, [&] { view->setAlpha(0.2); }, record(done));
    EXPECT_DOUBLE_EQ(drawnAlpha(), 0.2);
    EXPECT_TRUE(done.empty());
    turn();
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0], (std::pair<double, bool> { 0, true }));
}

TEST_F(ViewAnimation, ABlockThatChangesNothingStillCompletesAfterItsDuration)
{
    std::vector<std::pair<double, bool>> done;
    ui::View::animateWithDuration(
        0.15f, [] {}, record(done));
    advance(0.1);
    EXPECT_TRUE(done.empty());
    advance(0.1);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_TRUE(done[0].second);
}

TEST_F(ViewAnimation, ALaterAnimationOfTheSamePropertyInterruptsOnTheNextTurn)
{
    std::vector<std::pair<double, bool>> first, second;
    ui::View::animateWithDuration(
        1.0, [&] { view->setAlpha(0); }, record(first));
    advance(0.5);
    bool ranInside = false;
    ui::View::animateWithDuration(
        1.0, [&] { view->setAlpha(1); }, record(second));
    ranInside = !first.empty();
    EXPECT_FALSE(ranInside);
    turn();
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0], (std::pair<double, bool> { 0.5, false }));
    advance(1.0);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_TRUE(second[0].second);
    EXPECT_EQ(first.size(), 1u);
}

TEST_F(ViewAnimation, OtherPropertiesAndOtherViewsDoNotInterrupt)
{
    auto other = std::make_shared<ui::View>();
    window->addSubview(other);
    std::vector<std::pair<double, bool>> done;
    ui::View::animateWithDuration(
        1.0, [&] { view->setAlpha(0); }, record(done));
    ui::View::animateWithDuration(0.5, [&] {
        view->setCenter({ 10, 10 });
        other->setAlpha(0);
    });
    advance(1.0);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_TRUE(done[0].second);
}

TEST_F(ViewAnimation, RemovingTheAnimationsInterruptsButLeavingTheWindowDoesNot)
{
    std::vector<std::pair<double, bool>> kept, removed;
    auto other = std::make_shared<ui::View>();
    window->addSubview(other);
    ui::View::animateWithDuration(
        1.0, [&] { view->setAlpha(0); }, record(kept));
    ui::View::animateWithDuration(
        1.0, [&] { other->setAlpha(0); }, record(removed));
    view->removeFromSuperview();
    other->layer()->removeAllAnimations();
    turn();
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_FALSE(removed[0].second);
    EXPECT_TRUE(kept.empty());
    advance(1.0);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_TRUE(kept[0].second);
}

TEST_F(ViewAnimation, AWriteOutsideABlockChangesTheModelAndLeavesTheAnimationRunning)
{
    std::vector<std::pair<double, bool>> done;
    ui::View::animateWithDuration(
        1.0, 0, ui::AnimationOptions::CurveLinear, [&] { view->setAlpha(0); }, record(done));
    advance(0.5);
    view->setAlpha(1);
    EXPECT_NEAR(drawnAlpha(), 0.5, 1e-9);
    advance(0.5);
    EXPECT_EQ(drawnAlpha(), 1);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_TRUE(done[0].second);
}

TEST_F(ViewAnimation, BeginFromCurrentStateStartsFromWhatIsDrawn)
{
    unsigned linear = ui::AnimationOptions::CurveLinear;
    ui::View::animateWithDuration(1.0, 0, linear, [&] { view->setAlpha(0); });
    advance(0.5);
    ui::View::animateWithDuration(
        1.0, 0, linear | ui::AnimationOptions::BeginFromCurrentState, [&] { view->setAlpha(1); });
    EXPECT_NEAR(drawnAlpha(), 0.5, 1e-9);
    advance(0.5);
    EXPECT_NEAR(drawnAlpha(), 0.75, 1e-9);

    // Without the option the new animation starts from the old model value.
    ui::View::animateWithDuration(1.0, 0, linear, [&] { view->setAlpha(0.5); });
    EXPECT_NEAR(drawnAlpha(), 1, 1e-9);
}

TEST_F(ViewAnimation, TwoChangesOfOnePropertyInABlockMakeOneAnimation)
{
    std::vector<std::pair<double, bool>> done;
    ui::View::animateWithDuration(
        1.0, 0, ui::AnimationOptions::CurveLinear,
        [&] {
            view->setAlpha(0.6);
            view->setAlpha(0.2);
        },
        record(done));
    advance(0.5);
    EXPECT_NEAR(drawnAlpha(), 0.6, 1e-9);
    advance(0.5);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_TRUE(done[0].second);
}

TEST_F(ViewAnimation, TheInnermostBlockGovernsAChange)
{
    std::vector<std::pair<double, bool>> outer, inner;
    ui::View::animateWithDurationUsingSpring(
        1.7, 0, 0.5, 0, 0,
        [&] {
            view->setCenter({ 200, 200 });
            ui::View::animateWithDuration(
                0, [&] { view->setAlpha(0); }, record(inner));
        },
        record(outer));
    EXPECT_DOUBLE_EQ(drawnAlpha(), 0);
    EXPECT_EQ(drawnCentre(), (Point { 50, 50 }));
    turn();
    ASSERT_EQ(inner.size(), 1u);
    EXPECT_TRUE(inner[0].second);
    advance(1.7);
    ASSERT_EQ(outer.size(), 1u);
    EXPECT_TRUE(outer[0].second);
}

TEST_F(ViewAnimation, SpringsOvershootAndSettleExactlyAtTheirDuration)
{
    ui::View::animateWithDurationUsingSpring(1.0, 0, 0.3, 0, 0, [&] { view->setCenter({ 150, 50 }); });
    double furthest = 0;
    for (int i = 0; i < 60; ++i) {
        advance(1.0 / 60);
        furthest = std::max(furthest, drawnCentre().x);
    }
    EXPECT_GT(furthest, 150);
    EXPECT_EQ(drawnCentre(), (Point { 150, 50 }));
}

TEST_F(ViewAnimation, FrameAnimatesPositionAndSize)
{
    ui::View::animateWithDuration(1.0, 0, ui::AnimationOptions::CurveLinear, [&] {
        view->setFrame({ 100, 100, 200, 300 });
    });
    EXPECT_EQ(view->frame(), Rect(100, 100, 200, 300));
    advance(0.5);
    auto drawn = view->layer()->presentation();
    EXPECT_NEAR(drawn.bounds.width(), 150, 1e-9);
    EXPECT_NEAR(drawn.position.x, 125, 1e-9);
}

TEST_F(ViewAnimation, BeginCommitBlocksReportTheirNameAndFinished)
{
    std::vector<std::string> stops;
    ui::View::beginAnimations("go", std::string("context"));
    ui::View::setAnimationDuration(0.5);
    ui::View::setAnimationDidStop([&](const std::string& name, bool finished, const std::any& context) {
        stops.push_back(name + (finished ? ":yes:" : ":no:") + std::any_cast<std::string>(context));
    });
    view->setCenter({ 0, 0 });
    ui::View::commitAnimations();
    advance(0.2);
    ui::View::beginAnimations("back");
    ui::View::setAnimationDidStop([&](const std::string& name, bool finished, const std::any&) {
        stops.push_back(name + (finished ? ":yes" : ":no"));
    });
    view->setCenter({ 50, 50 });
    ui::View::commitAnimations();
    turn();
    EXPECT_EQ(stops, (std::vector<std::string> { "go:no:context" }));
    advance(0.2);
    EXPECT_EQ(stops, (std::vector<std::string> { "go:no:context", "back:yes" }));
}

TEST_F(ViewAnimation, ViewLayersNeverAnimateOutsideABlock)
{
    view->setAlpha(0.3);
    EXPECT_TRUE(view->layer()->animationKeys().empty());
    EXPECT_DOUBLE_EQ(drawnAlpha(), 0.3);
}
