#include "base/values/Value.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using base::Value;

namespace {

void expectEqualWithEqualHashes(const Value& a, const Value& b)
{
    EXPECT_EQ(a, b) << a.description() << " vs " << b.description();
    EXPECT_EQ(a.hash(), b.hash()) << a.description() << " vs " << b.description();
}

} // namespace

TEST(ValueEquality, NumbersCompareByValueAcrossKinds)
{
    expectEqualWithEqualHashes(Value(1), Value(1.0));
    expectEqualWithEqualHashes(Value(1), Value(true));
    expectEqualWithEqualHashes(Value(1u), Value(INT64_C(1)));
    expectEqualWithEqualHashes(Value(0.0), Value(-0.0));
    expectEqualWithEqualHashes(Value(false), Value(0u));
    expectEqualWithEqualHashes(Value(-3), Value(-3.0));
    EXPECT_NE(Value(2), Value(true));
    EXPECT_NE(Value(1), Value(1.5));
}

TEST(ValueEquality, LargeIntegersCompareExactlyNotThroughDouble)
{
    const uint64_t twoTo63 = uint64_t(1) << 63;
    EXPECT_NE(Value(twoTo63), Value(INT64_MIN));
    EXPECT_NE(Value(UINT64_MAX), Value(INT64_C(-1)));
    expectEqualWithEqualHashes(Value(twoTo63), Value(9223372036854775808.0));
    // 2^53 + 1 has no double; the nearest one is 2^53.
    EXPECT_NE(Value(INT64_C(9007199254740993)), Value(9007199254740992.0));
    EXPECT_NE(Value(UINT64_MAX), Value(18446744073709551616.0));
    expectEqualWithEqualHashes(Value(INT64_MIN), Value(-9223372036854775808.0));
}

TEST(ValueEquality, NaNEqualsItselfSoContainersCanFindIt)
{
    expectEqualWithEqualHashes(Value(std::nan("")), Value(-std::nan("")));
    EXPECT_NE(Value(std::nan("")), Value(0));
}

TEST(ValueEquality, KindsOtherThanNumbersNeverMatchNumbers)
{
    EXPECT_NE(Value(1), Value("1"));
    EXPECT_NE(Value(0), Value());
    EXPECT_NE(Value(), Value(""));
    EXPECT_EQ(Value(), Value::null());
}

TEST(ValueEquality, TextsAndDataCompareBytewise)
{
    expectEqualWithEqualHashes(Value("caf\u00e9"), Value(std::string("caf\xc3\xa9")));
    EXPECT_NE(Value("caf\u00e9"), Value("cafe\u0301"));
    EXPECT_NE(Value("a"), Value("a "));
    expectEqualWithEqualHashes(Value(base::Data { 1, 2, 3 }), Value(base::Data { 1, 2, 3 }));
    EXPECT_NE(Value(base::Data { 1, 2, 3 }), Value(base::Data { 1, 2 }));
    EXPECT_NE(Value(base::Data { 'a' }), Value("a"));
}

TEST(ValueEquality, DatesCompareByInstant)
{
    expectEqualWithEqualHashes(
        Value(base::Date::fromTimeIntervalSince1970(10.5)), Value(base::Date::fromTimeIntervalSince1970(10.5)));
    EXPECT_NE(Value(base::Date::fromTimeIntervalSince1970(10)), Value(10));
}

TEST(ValueEquality, TextHashesAgreeWithHashString)
{
    for (std::string text : std::vector<std::string> {
             "", "a", "abc", "abcd", "0123456789abcdef", "0123456789abcdefg", std::string(100, 'x') })
        EXPECT_EQ(Value(text).hash(), Value::hashString(text)) << text;
    EXPECT_NE(Value::hashString("ab"), Value::hashString("ba"));
}
