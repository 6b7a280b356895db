#include "JSONTestSupport.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <string>

using jsontest::element;
using jsontest::errorMessage;

TEST(JSONNumberDecoding, IntegersAreSignedUnlessTooLarge)
{
    EXPECT_EQ(*element("[0]").integer(), 0);
    EXPECT_EQ(*element("[-5]").integer(), -5);
    EXPECT_EQ(*element("[9223372036854775807]").integer(), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(*element("[9223372036854775808]").unsignedInteger(), 9223372036854775808ull);
    EXPECT_EQ(*element("[18446744073709551615]").unsignedInteger(), std::numeric_limits<uint64_t>::max());
    EXPECT_EQ(*element("[-9223372036854775808]").integer(), std::numeric_limits<int64_t>::min());
}

TEST(JSONNumberDecoding, IntegersOutOfRangeFailWithTheirLimit)
{
    EXPECT_EQ(errorMessage("[18446744073709551616]"),
        "The value '18446744073709551616' exceeded the maximum value that could be represented: "
        "18446744073709551615.");
    EXPECT_EQ(errorMessage("[-9223372036854775809]"),
        "The value '-9223372036854775809' exceeded the minimum value that could be represented: "
        "-9223372036854775808.");
}

TEST(JSONNumberDecoding, FractionsExponentsAndMinusZeroAreDoubles)
{
    EXPECT_EQ(*element("[1E2]").real(), 100.0);
    EXPECT_EQ(*element("[1e+2]").real(), 100.0);
    EXPECT_EQ(*element("[-2.5e-1]").real(), -0.25);
    EXPECT_EQ(*element("[0.1]").real(), 0.1);
    base::Value decoded = element("[-0]");
    const double* minusZero = decoded.real();
    ASSERT_TRUE(minusZero);
    EXPECT_TRUE(*minusZero == 0 && std::signbit(*minusZero));
    EXPECT_EQ(*element("[1.7976931348623157e308]").real(), std::numeric_limits<double>::max());
}

TEST(JSONNumberDecoding, DoublesRoundExactlyAsTheirTextConverts)
{
    // Mantissas and powers of ten on both sides of where a double holds them exactly, written with a fraction,
    // an exponent or both, and with 19 or more digits (where a scanned mantissa no longer holds them all).
    const char* const mantissas[] = { "0", "1", "7", "4503599627370497", "9007199254740991", "9007199254740992",
        "9007199254740993", "1844674407370955161", "18446744073709551617", "99999999999999999999" };
    for (const char* mantissa : mantissas) {
        for (int exponent = -25; exponent <= 25; ++exponent) {
            for (const std::string& sign : { std::string(), std::string("-") }) {
                std::string digits = mantissa;
                std::string fraction = digits.size() > 1 ? digits.substr(0, 1) + "." + digits.substr(1) : digits + ".0";
                int shifted = exponent + static_cast<int>(digits.size()) - 1;
                for (const std::string& text :
                    { sign + digits + "e" + std::to_string(exponent), sign + fraction + "E" + std::to_string(shifted),
                        sign + "0.000" + digits + "e" + std::to_string(exponent) }) {
                    double expected = 0;
                    std::from_chars(text.data(), text.data() + text.size(), expected);
                    base::Value decoded = element("[" + text + "]");
                    const double* real = decoded.real();
                    ASSERT_TRUE(real) << text;
                    EXPECT_EQ(std::bit_cast<uint64_t>(*real), std::bit_cast<uint64_t>(expected)) << text;
                }
            }
        }
    }
}

TEST(JSONNumberDecoding, RunsOfMoreDigitsThanAreCountedStillConvertFromTheirText)
{
    const std::string run(1500000, '3');
    for (const std::string& text : { "0." + run, run + "." + run + "e-1500000", "-0." + run + "e5" }) {
        double expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        base::Value decoded = element("[" + text + "]");
        const double* real = decoded.real();
        ASSERT_TRUE(real) << text.substr(0, 20);
        EXPECT_EQ(std::bit_cast<uint64_t>(*real), std::bit_cast<uint64_t>(expected)) << text.substr(0, 20);
    }
}

TEST(JSONNumberDecoding, IntegersOfEveryLengthKeepTheirValue)
{
    std::string digits;
    for (int length = 1; length <= 19; ++length) {
        digits += static_cast<char>('0' + length % 10);
        std::string nines(static_cast<size_t>(length), '9');
        for (const std::string& text : { digits, nines }) {
            uint64_t expected = std::stoull(text);
            EXPECT_EQ(element("[" + text + "]").unsignedLongLongValue(), expected) << text;
            if (expected <= uint64_t(std::numeric_limits<int64_t>::max())) {
                EXPECT_EQ(*element("[-" + text + "]").integer(), -static_cast<int64_t>(expected)) << text;
            }
        }
    }
}

TEST(JSONNumberDecoding, SubnormalsAreAcceptedAndOutOfRangeDoublesFail)
{
    EXPECT_EQ(*element("[1e-310]").real(), 1e-310);
    EXPECT_EQ(*element("[4.9e-324]").real(), std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(*element("[0e-400]").real(), 0.0);
    EXPECT_EQ(errorMessage("[1e-400]"), "The value '1e-400' could not be represented as a 'double' due to underflow.");
    EXPECT_EQ(errorMessage("[1e400]"), "The value '1e400' could not be represented as a 'double' due to overflow.");
    EXPECT_EQ(
        errorMessage("[-1.8e308]"), "The value '-1.8e308' could not be represented as a 'double' due to overflow.");
    std::string tiny = "0." + std::string(400, '0') + "1";
    EXPECT_EQ(errorMessage("[" + tiny + "]"),
        "The value '" + tiny + "' could not be represented as a 'double' due to underflow.");
    std::string huge = "1" + std::string(400, '0') + ".5";
    EXPECT_EQ(errorMessage("[" + huge + "]"),
        "The value '" + huge + "' could not be represented as a 'double' due to overflow.");
    EXPECT_EQ(
        errorMessage("[1000e-330]"), "The value '1000e-330' could not be represented as a 'double' due to underflow.");
}

TEST(JSONNumberDecoding, MalformedNumbersAreInvalid)
{
    for (const char* text : { "[1.]", "[1.e5]", "[1e]", "[1e+]", "[-]", "[-x]", "[--1]", "[1", "[1.5", "[2e3" }) {
        SCOPED_TRACE(text);
        EXPECT_EQ(errorMessage(text), "Invalid number.");
    }
}

TEST(JSONNumberDecoding, ANumberEndsAtTheFirstByteThatCannotContinueIt)
{
    EXPECT_EQ(errorMessage("[012]"), "Unexpected value.");
    EXPECT_EQ(errorMessage("[1.5.3]"),
        "Unexpected token, wanted '{', '}', '[', ']', ',', ':', 'true', 'false', 'null', '\"STRING\"', 'NUMBER'.");
    EXPECT_EQ(errorMessage("[-01]"), "Unexpected value.");
    auto root = json::objectFromJSONString("[1,-2,3.5e1]");
    ASSERT_TRUE(root);
    EXPECT_EQ(*root, base::Value(base::Array::make({ base::Value(1), base::Value(-2), base::Value(35.0) })));
}
