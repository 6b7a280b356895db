#include "base/system/Random.h"
#include "base/text/UUID.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

std::vector<uint64_t> drawn(base::Random& random, uint64_t below, int count)
{
    std::vector<uint64_t> values;
    for (int i = 0; i < count; ++i)
        values.push_back(random.nextBelow(below));
    return values;
}

TEST(Random, TheSameSeedRepeatsTheSequence)
{
    base::Random& random = base::Random::shared();
    random.setSeed(42);
    auto first = drawn(random, 1000, 20);
    double unit = random.nextUnit();
    random.setSeed(42);
    EXPECT_EQ(drawn(random, 1000, 20), first);
    EXPECT_EQ(random.nextUnit(), unit);
    random.setSeed(43);
    EXPECT_NE(drawn(random, 1000, 20), first);
}

TEST(Random, ValuesStayInTheirRangeAndCoverIt)
{
    base::Random random(1);
    std::set<uint64_t> seen;
    for (uint64_t value : drawn(random, 6, 600)) {
        ASSERT_LT(value, 6u);
        seen.insert(value);
    }
    EXPECT_EQ(seen.size(), 6u);
    EXPECT_EQ(random.nextBelow(0), 0u);
    EXPECT_EQ(random.nextBelow(1), 0u);
    for (int i = 0; i < 1000; ++i) {
        double unit = random.nextUnit();
        ASSERT_GE(unit, 0.0);
        ASSERT_LT(unit, 1.0);
    }
}

// Upper-case hexadecimal in groups of 8-4-4-4-12, version 4, RFC 4122 variant.
bool isVersion4Text(const std::string& text)
{
    if (text.size() != 36 || text[14] != '4' || std::string("89AB").find(text[19]) == std::string::npos)
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        char c = text[i];
        if (dash ? c != '-' : !((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')))
            return false;
    }
    return true;
}

TEST(UUID, IsUpperCaseVersion4TextAndNeverRepeats)
{
    std::set<std::string> made;
    for (int i = 0; i < 200; ++i) {
        std::string uuid = base::makeUUID();
        ASSERT_TRUE(isVersion4Text(uuid)) << uuid;
        made.insert(uuid);
    }
    EXPECT_EQ(made.size(), 200u);
}

TEST(UUID, DoesNotFollowTheSeededRandomSource)
{
    base::Random::shared().setSeed(5);
    std::string first = base::makeUUID();
    base::Random::shared().setSeed(5);
    EXPECT_NE(base::makeUUID(), first);
}

} // namespace
