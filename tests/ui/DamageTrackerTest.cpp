#include "ui/render/DamageTracker.h"
#include "ui/animation/BasicAnimation.h"
#include "ui/animation/Transaction.h"
#include "ui/layer/Layer.h"

#include "UITestFixture.h"

#include <cmath>
#include <limits>
#include <numbers>

using gfx::Color;
using gfx::Rect;

namespace {

class DamageTracker : public test::UITest {
protected:
    void SetUp() override
    {
        UITest::SetUp();
        // Changes below take effect at once, not animated.
        ui::Transaction::begin();
        ui::Transaction::setDisableActions(true);
        root = add({ 0, 0, 300, 300 }, Color::white(), nullptr);
        first = damage.update({ root.get() }, {});
    }
    void TearDown() override
    {
        ui::Transaction::commit();
        UITest::TearDown();
    }

    std::shared_ptr<ui::Layer> add(const Rect& frame, Color background, ui::Layer* parent)
    {
        auto layer = std::make_shared<ui::Layer>();
        layer->setFrame(frame);
        layer->setBackgroundColor(background);
        if (parent)
            parent->addSublayer(layer);
        return layer;
    }
    Rect update() { return damage.update({ root.get() }, {}); }
    // A frame's area padded for antialiasing, as the tracker reports it.
    static Rect padded(const Rect& r) { return r.insetBy(-1, -1); }
    static bool holds(const Rect& outer, const Rect& inner)
    {
        return !outer.isNull() && outer.intersection(inner) == inner;
    }

    ui::DamageTracker damage;
    std::shared_ptr<ui::Layer> root;
    Rect first;
};

} // namespace

TEST_F(DamageTracker, TheFirstWalkDamagesAllDrawnAndAnUnchangedTreeNothing)
{
    EXPECT_EQ(first, padded({ 0, 0, 300, 300 }));
    EXPECT_TRUE(update().isNull());
    advance(1);
    EXPECT_TRUE(update().isNull());
}

TEST_F(DamageTracker, APropertyChangeDamagesTheLayerWhereItWasAndWhereItIs)
{
    auto card = add({ 10, 20, 40, 30 }, Color::red(), root.get());
    auto badge = add({ 5, 5, 10, 10 }, Color::blue(), card.get());
    EXPECT_EQ(update(), padded({ 10, 20, 40, 30 }));

    badge->setBackgroundColor(Color::green());
    EXPECT_EQ(update(), padded({ 15, 25, 10, 10 }));

    // Moving the card moves its badge with it: both are damaged, old and new places.
    card->setPosition({ 130, 35 });
    EXPECT_EQ(update(), padded({ 10, 20, 140, 30 }));

    // A rotated layer damages the bounding box of its turned corners.
    badge->setAffineTransform(gfx::AffineTransform::makeRotation(std::numbers::pi / 4));
    Rect turned = update();
    double half = 5 * std::sqrt(2.0);
    EXPECT_TRUE(holds(turned, { 120 - half, 30 - half, 2 * half, 2 * half }));
    EXPECT_TRUE(holds(padded({ 110, 20, 20, 20 }), turned));
}

TEST_F(DamageTracker, LayersThatGoAwayOrReorderDamageWhereTheyWere)
{
    auto left = add({ 10, 10, 50, 50 }, Color::red(), root.get());
    auto right = add({ 40, 40, 50, 50 }, Color::blue(), root.get());
    update();

    // Bringing `left` to the front changes the overlap: both places.
    root->addSublayer(left);
    EXPECT_TRUE(holds(update(), { 10, 10, 80, 80 }));

    // The front layer goes: only where it was (the other keeps its place among its siblings).
    left->removeFromSuperlayer();
    EXPECT_EQ(update(), padded({ 10, 10, 50, 50 }));

    auto child = add({ 100, 100, 10, 10 }, Color::green(), right.get());
    update();
    right->setHidden(true);
    EXPECT_EQ(update(), padded({ 40, 40, 110, 110 }));
    EXPECT_TRUE(update().isNull());
}

TEST_F(DamageTracker, AnAnimationStepDamagesOnlyTheLayerItTurns)
{
    add({ 0, 0, 300, 40 }, Color::red(), root.get());
    auto sign = add({ 200, 240, 20, 20 }, Color::blue(), root.get());
    auto turn = std::make_shared<ui::BasicAnimation>("transform.rotation.z");
    const ui::AnimatableValue quarterTurn(std::numbers::pi / 2);
    turn->setByValue(quarterTurn);
    turn->setDuration(3);
    turn->setCumulative(true);
    turn->setRepeatCount(std::numeric_limits<double>::infinity());
    sign->addAnimation(turn, "turn");
    update();

    // The sign's turning square stays within the circle through its corners.
    double half = 10 * std::sqrt(2.0);
    Rect circle = padded({ 210 - half, 250 - half, 2 * half, 2 * half });
    for (int frame = 0; frame < 5; ++frame) {
        advance(1.0 / 60);
        Rect step = update();
        EXPECT_FALSE(step.isNull());
        EXPECT_TRUE(holds(circle, step)) << frame;
    }
    // The same instant again draws the same picture.
    EXPECT_TRUE(update().isNull());

    // A layer that is not drawn damages nothing while it animates.
    sign->setHidden(true);
    update();
    advance(1.0 / 60);
    EXPECT_TRUE(update().isNull());
}

TEST_F(DamageTracker, MaskingClipsAndShadowsReachOut)
{
    auto clip = add({ 0, 0, 100, 100 }, Color::clear(), root.get());
    clip->setMasksToBounds(true);
    auto wide = add({ 50, 50, 200, 20 }, Color::red(), clip.get());
    update();
    wide->setBackgroundColor(Color::blue());
    EXPECT_EQ(update(), padded({ 50, 50, 200, 20 }).intersection({ 0, 0, 100, 100 }));

    // A shadow path's shadow lies beyond the layer's bounds.
    auto card = add({ 150, 150, 40, 40 }, Color::white(), root.get());
    card->setShadowOpacity(0.8f);
    card->setShadowRadius(5);
    card->setShadowOffset({ 0, 4 });
    card->setShadowPath(gfx::Path::rect({ 0, 0, 40, 40 }));
    update();
    card->setBackgroundColor(Color::red());
    EXPECT_TRUE(holds(update(), { 150 - 10, 150 - 10, 60, 64 }));
}

TEST_F(DamageTracker, DamageNearAShadowCastByAWholeTreeCoversTheTree)
{
    // The panel's shadow is cast by all it draws, so its edge depends on pixels the damage does not reach.
    auto panel = add({ 100, 100, 60, 60 }, Color::clear(), root.get());
    panel->setShadowOpacity(0.8f);
    panel->setShadowRadius(4);
    auto face = add({ 0, 0, 60, 60 }, Color::white(), panel.get());
    auto neighbour = add({ 150, 150, 20, 20 }, Color::blue(), root.get());
    update();

    neighbour->setBackgroundColor(Color::green());
    EXPECT_TRUE(holds(update(), { 100 - 10, 100 - 10, 80, 80 }));

    // A change inside moves the shadow too.
    face->setBackgroundColor(Color::red());
    EXPECT_TRUE(holds(update(), { 100 - 10, 100 - 10, 80, 80 }));

    // Far from it, damage stays small.
    auto far = add({ 10, 250, 10, 10 }, Color::blue(), root.get());
    EXPECT_EQ(update(), padded({ 10, 250, 10, 10 }));
}

TEST_F(DamageTracker, TreesPassedOverStillShowChangesDeepInsideThem)
{
    // A turning sign beside a deep tree at rest: each frame looks into the tree only when something in it changed.
    auto sign = add({ 200, 240, 20, 20 }, Color::blue(), root.get());
    auto spin = std::make_shared<ui::BasicAnimation>("transform.rotation.z");
    const ui::AnimatableValue quarterTurn(std::numbers::pi / 2);
    spin->setByValue(quarterTurn);
    spin->setDuration(3);
    spin->setRepeatCount(std::numeric_limits<double>::infinity());
    sign->addAnimation(spin, "turn");
    auto outer = add({ 10, 10, 100, 100 }, Color::clear(), root.get());
    auto inner = add({ 10, 10, 80, 80 }, Color::clear(), outer.get());
    auto leaf = add({ 10, 10, 20, 20 }, Color::red(), inner.get());
    auto other = add({ 40, 40, 20, 20 }, Color::green(), inner.get());
    update();
    Rect circle = padded({ 210 - 15, 250 - 15, 30, 30 });
    advance(1.0 / 60);
    EXPECT_TRUE(holds(circle, update()));

    leaf->setBackgroundColor(Color::blue());
    advance(1.0 / 60);
    EXPECT_TRUE(holds(update(), padded({ 30, 30, 20, 20 })));

    // Gone from deep inside: damaged where it was, and never again.
    leaf->removeFromSuperlayer();
    EXPECT_TRUE(holds(update(), padded({ 30, 30, 20, 20 })));
    leaf->setBackgroundColor(Color::green());
    EXPECT_TRUE(update().isNull());

    // Moved to another branch: where it was and where it is.
    root->addSublayer(other);
    EXPECT_TRUE(holds(update(), padded({ 40, 40, 40, 40 })));

    // A hidden branch forgets its tree; shown again, it is drawn again.
    auto kept = add({ 0, 0, 10, 10 }, Color::red(), inner.get());
    update();
    outer->setHidden(true);
    EXPECT_TRUE(holds(update(), padded({ 20, 20, 10, 10 })));
    kept->setBackgroundColor(Color::blue());
    EXPECT_TRUE(update().isNull());
    outer->setHidden(false);
    EXPECT_TRUE(holds(update(), padded({ 20, 20, 10, 10 })));
}

TEST_F(DamageTracker, ALayerThatDrawsNothingOfItsOwnDamagesOnlyWhatItsSublayersDraw)
{
    // A screen-sized container fading a small box: only the box's pixels change.
    auto container = add({ 0, 0, 300, 300 }, Color::clear(), root.get());
    add({ 100, 100, 50, 50 }, Color::black(), container.get());
    update();
    container->setOpacity(0.5);
    EXPECT_EQ(update(), padded({ 100, 100, 50, 50 }));

    // A background or a border of its own is drawn over its bounds.
    container->setBorderColor(Color::clear());
    container->setBorderWidth(2);
    EXPECT_EQ(update(), padded({ 100, 100, 50, 50 }));
    container->setBorderColor(Color::red());
    EXPECT_EQ(update(), padded({ 0, 0, 300, 300 }));
    container->setBorderWidth(0);
    EXPECT_EQ(update(), padded({ 0, 0, 300, 300 }));
    container->setOpacity(0.6);
    EXPECT_EQ(update(), padded({ 100, 100, 50, 50 }));
    container->setBackgroundColor(Color::blue());
    EXPECT_EQ(update(), padded({ 0, 0, 300, 300 }));
}

TEST_F(DamageTracker, OnlyWhatFallsWithinTheVisibleAreaDamages)
{
    // A picture that shows (0, 0, 300, 200) of the root's space: a card sliding in from below.
    Rect visible { 0, 0, 300, 200 };
    auto card = add({ 0, 250, 300, 100 }, Color::red(), root.get());
    auto spot = add({ 20, 20, 10, 10 }, Color::blue(), root.get());
    EXPECT_EQ(damage.update({ root.get() }, {}, visible), padded({ 0, 0, 300, 300 }).intersection(visible));

    // Moving wholly outside, the card damages nothing; far from the spot, it no longer widens the spot's damage.
    card->setPosition({ 150, 290 });
    spot->setBackgroundColor(Color::green());
    EXPECT_EQ(damage.update({ root.get() }, {}, visible), padded({ 20, 20, 10, 10 }));
    EXPECT_FALSE(damage.reaches(*card, visible));

    // Coming in, it damages only its visible part.
    card->setPosition({ 150, 230 });
    EXPECT_EQ(damage.update({ root.get() }, {}, visible), Rect(0, 179, 300, 21));
    EXPECT_TRUE(damage.reaches(*card, visible));

    // A mask wholly outside hides its whole tree, however far its sublayers reach.
    auto mask = add({ 0, 210, 10, 10 }, Color::clear(), root.get());
    mask->setMasksToBounds(true);
    auto reaching = add({ 0, -200, 300, 300 }, Color::red(), mask.get());
    EXPECT_TRUE(damage.update({ root.get() }, {}, visible).isNull());
    EXPECT_FALSE(damage.reaches(*reaching, visible));

    // Another visible area starts afresh.
    EXPECT_EQ(damage.update({ root.get() }, {}), padded({ 0, 0, 300, 300 }));
}
