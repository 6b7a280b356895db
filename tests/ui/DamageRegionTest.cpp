#include "ui/render/DamageRegion.h"

#include <gtest/gtest.h>

using gfx::Rect;
using ui::DamageRegion;

namespace {

bool heldByOnePart(const DamageRegion& region, const Rect& area) { return region.holds(area); }

} // namespace

TEST(DamageRegion, AreasThatMeetMergeAndFarOnesStayApart)
{
    DamageRegion region;
    region.add(Rect::null());
    region.add({ 5, 5, 0, 10 });
    EXPECT_TRUE(region.isEmpty());
    EXPECT_TRUE(region.bounds().isNull());

    region.add({ 10, 10, 20, 20 });
    region.add({ 0, 500, 300, 8 });
    ASSERT_EQ(region.parts().size(), 2u);
    EXPECT_EQ(region.bounds(), Rect(0, 10, 300, 498));

    // Touching counts as meeting.
    region.add({ 30, 10, 10, 10 });
    ASSERT_EQ(region.parts().size(), 2u);
    EXPECT_TRUE(heldByOnePart(region, { 10, 10, 30, 20 }));

    // An area bridging two parts merges all three, and the merged box takes in a part it now meets.
    region.add({ 100, 200, 10, 10 });
    ASSERT_EQ(region.parts().size(), 3u);
    region.add({ 35, 25, 70, 180 });
    ASSERT_EQ(region.parts().size(), 2u);
    EXPECT_TRUE(heldByOnePart(region, { 10, 10, 100, 200 }));
    EXPECT_FALSE(heldByOnePart(region, { 10, 10, 100, 500 }));
    EXPECT_TRUE(region.overlaps({ 0, 0, 11, 11 }));
    EXPECT_FALSE(region.overlaps({ 0, 0, 10, 10 }));
    EXPECT_FALSE(region.overlaps({ 200, 300, 10, 10 }));
}

TEST(DamageRegion, PastTheLimitTheCheapestPairMerges)
{
    DamageRegion region;
    // Four small squares in a row, far apart, and a fifth next to the second.
    for (int i = 0; i < 4; ++i)
        region.add({ i * 100.0, 0, 10, 10 });
    ASSERT_EQ(region.parts().size(), DamageRegion::maxParts);
    region.add({ 115, 0, 10, 10 });
    ASSERT_EQ(region.parts().size(), DamageRegion::maxParts);
    EXPECT_TRUE(heldByOnePart(region, { 100, 0, 25, 10 }));
    for (int i : { 0, 2, 3 })
        EXPECT_TRUE(heldByOnePart(region, { i * 100.0, 0, 10, 10 })) << i;

    // No part meets another, whatever order the areas come in.
    for (int i = 0; i < 40; ++i)
        region.add({ (i * 37) % 400 * 1.0, (i * 53) % 300 * 1.0, 12, 12 });
    const auto& parts = region.parts();
    EXPECT_LE(parts.size(), DamageRegion::maxParts);
    for (size_t a = 0; a < parts.size(); ++a)
        for (size_t b = a + 1; b < parts.size(); ++b)
            EXPECT_TRUE(parts[a].intersection(parts[b]).isNull()) << a << " " << b;
}
