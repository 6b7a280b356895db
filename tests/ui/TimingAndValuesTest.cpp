#include "ui/animation/AnimatableValue.h"
#include "ui/layer/LayerProperties.h"
#include "ui/animation/TimingFunction.h"

#include <gtest/gtest.h>
#include <numbers>

using ui::TimingFunction;

TEST(TimingFunction, NamedCurvesRunFromZeroToOneAndEaseAsNamed)
{
    for (auto name : { TimingFunction::Name::Linear, TimingFunction::Name::EaseIn, TimingFunction::Name::EaseOut,
             TimingFunction::Name::EaseInEaseOut, TimingFunction::Name::Default }) {
        auto f = TimingFunction::named(name);
        EXPECT_EQ(f.progress(0, 1), 0);
        EXPECT_EQ(f.progress(1, 1), 1);
    }
    EXPECT_NEAR(TimingFunction::linear().progress(0.3, 1), 0.3, 1e-9);
    EXPECT_NEAR(TimingFunction::named(TimingFunction::Name::EaseInEaseOut).progress(0.5, 1), 0.5, 1e-9);
    EXPECT_LT(TimingFunction::named(TimingFunction::Name::EaseIn).progress(0.3, 1), 0.3);
    EXPECT_GT(TimingFunction::named(TimingFunction::Name::EaseOut).progress(0.3, 1), 0.3);
}

TEST(TimingFunction, SpringsOvershootWhenUnderdampedAndNotWhenCritical)
{
    auto bouncy = TimingFunction::spring(0.5, 0);
    auto critical = TimingFunction::spring(1, 0);
    double bouncyPeak = 0, criticalPeak = 0;
    for (int i = 1; i < 100; ++i) {
        bouncyPeak = std::max(bouncyPeak, bouncy.progress(i / 100.0, 1.7));
        criticalPeak = std::max(criticalPeak, critical.progress(i / 100.0, 1.7));
    }
    EXPECT_GT(bouncyPeak, 1.05);
    EXPECT_LE(criticalPeak, 1.0);
    EXPECT_NEAR(critical.progress(0.99, 1.7), 1, 0.02);
    // An initial velocity of one whole distance per second starts it moving at that speed.
    auto pushed = TimingFunction::spring(0.6, 1.5);
    EXPECT_NEAR(pushed.progress(1e-4, 1.0) / 1e-4, 1.5, 1e-2);
}

TEST(AnimatableValue, TransformsInterpolateTheirTurnNotTheirEntries)
{
    using gfx::Transform3D;
    auto quarter = Transform3D::makeRotation(std::numbers::pi / 2, 0, 0, 1);
    auto half = std::get<Transform3D>(ui::interpolate(Transform3D::identity(), quarter, 0.5));
    auto expected = Transform3D::makeRotation(std::numbers::pi / 4, 0, 0, 1);
    EXPECT_NEAR(half.m11, expected.m11, 1e-12);
    EXPECT_NEAR(half.m12, expected.m12, 1e-12);
    EXPECT_NEAR(half.m21, expected.m21, 1e-12);

    auto scaled = std::get<Transform3D>(ui::interpolate(Transform3D::makeScale(1, 1, 1),
        Transform3D::makeAffine(gfx::AffineTransform::makeScale(3, 1).translated(10, 0)), 0.5));
    EXPECT_NEAR(scaled.m11, 2, 1e-12);
    EXPECT_NEAR(scaled.m41, 15, 1e-12);
}

TEST(AnimatableValue, DecompositionRoundTripsIncludingFlipsAndShear)
{
    gfx::AffineTransform samples[] = { gfx::AffineTransform::makeScale(1, -1),
        gfx::AffineTransform::makeRotation(2.5).scaled(2, 0.5).translated(3, 4), { 1, 0, 0.5, 1, 0, 0 },
        gfx::AffineTransform::makeScale(0, 2) };
    for (const auto& t : samples) {
        auto back = ui::AffineParts::decompose(t).compose();
        EXPECT_NEAR(back.a, t.a, 1e-12);
        EXPECT_NEAR(back.b, t.b, 1e-12);
        EXPECT_NEAR(back.c, t.c, 1e-12);
        EXPECT_NEAR(back.d, t.d, 1e-12);
        EXPECT_NEAR(back.tx, t.tx, 1e-12);
        EXPECT_NEAR(back.ty, t.ty, 1e-12);
    }
}

TEST(LayerProperties, KeyPathsReachComponentsAndRefuseOtherKinds)
{
    ui::LayerProperties p;
    EXPECT_TRUE(ui::setValue(p, "position.y", 7.0));
    EXPECT_EQ(p.position, (gfx::Point { 0, 7 }));
    EXPECT_FALSE(ui::setValue(p, "position", 3.0));
    EXPECT_FALSE(ui::setValue(p, "nonsense", 3.0));
    EXPECT_FALSE(ui::valueForKeyPath(p, "shadowPath").has_value());
    EXPECT_TRUE(ui::setValue(p, "transform.rotation.z", std::numbers::pi));
    EXPECT_NEAR(std::get<double>(*ui::valueForKeyPath(p, "transform.rotation.z")), std::numbers::pi, 1e-12);
    EXPECT_TRUE(ui::setValue(p, "shadowOpacity", 0.3));
    EXPECT_EQ(p.shadowOpacity, 0.3f);
}
