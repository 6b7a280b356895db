#include "json/JSONNumberConversion.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <string_view>
#include <system_error>

namespace json {

namespace {

    bool isDigit(char c) { return c >= '0' && c <= '9'; }

    // Whether a double out of range is too small rather than too large: the position of its first significant
    // digit relative to the decimal point, moved by the exponent, is at or below zero.
    bool isUnderflow(const char* p, const char* end)
    {
        if (*p == '-')
            ++p;
        long long integerDigits = 0;
        long long leadingFractionZeros = 0;
        bool significant = false;
        for (; p < end && isDigit(*p); ++p) {
            significant = significant || *p != '0';
            if (significant)
                ++integerDigits;
        }
        if (p < end && *p == '.') {
            for (++p; p < end && isDigit(*p); ++p) {
                if (!significant && *p == '0')
                    ++leadingFractionZeros;
                else
                    significant = true;
            }
        }
        long long exponent = 0;
        if (p < end && (*p == 'e' || *p == 'E')) {
            ++p;
            bool negative = *p == '-';
            if (*p == '-' || *p == '+')
                ++p;
            constexpr long long Limit = 1'000'000'000'000LL;
            for (; p < end && isDigit(*p); ++p)
                exponent = std::min(exponent * 10 + (*p - '0'), Limit);
            if (negative)
                exponent = -exponent;
        }
        long long magnitude = (integerDigits ? integerDigits : -leadingFractionZeros) + exponent;
        return magnitude <= 0;
    }

    template <typename T> uint64_t bitsOf(T value)
    {
        uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        return bits;
    }

    // The powers of ten that a double holds exactly.
    constexpr double ExactPowersOfTen[] = { 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13,
        1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22 };
    constexpr int LargestExactPower = 22;
    constexpr uint64_t LargestExactMantissa = uint64_t(1) << 53;

    const char* const IncompleteConversion
        = "The conversion function did not consume all of the number tokens characters.";

} // namespace

bool convertScannedNumber(const ScannedNumber& scanned, JSONNumber& number)
{
    if (!scanned.hasFractionOrExponent) {
        if (scanned.digits > (scanned.negative ? 18 : 19) || (scanned.negative && scanned.mantissa == 0))
            return false;
        if (scanned.negative)
            number = { JSONNumber::Type::SignedInteger, bitsOf(-static_cast<int64_t>(scanned.mantissa)) };
        else
            number = { JSONNumber::Type::UnsignedInteger, scanned.mantissa };
        return true;
    }
    if (scanned.digits > 19 || scanned.mantissa > LargestExactMantissa || scanned.exponent > LargestExactPower
        || scanned.exponent < -LargestExactPower)
        return false;
    auto value = static_cast<double>(scanned.mantissa);
    if (scanned.exponent < 0)
        value /= ExactPowersOfTen[-scanned.exponent];
    else
        value *= ExactPowersOfTen[scanned.exponent];
    number = { JSONNumber::Type::Double, bitsOf(scanned.negative ? -value : value) };
    return true;
}

bool convertJSONNumber(
    const char* start, const char* end, bool hasFractionOrExponent, JSONNumber& number, std::string& message)
{
    std::string_view text(start, static_cast<size_t>(end - start));
    std::from_chars_result result;
    if (hasFractionOrExponent || text == "-0") {
        double value = 0;
        result = std::from_chars(start, end, value);
        if (result.ec == std::errc::result_out_of_range) {
            message = "The value '" + std::string(text) + "' could not be represented as a 'double' due to "
                + (isUnderflow(start, end) ? "underflow" : "overflow") + ".";
            return false;
        }
        number = { JSONNumber::Type::Double, bitsOf(value) };
    } else if (*start == '-') {
        int64_t value = 0;
        result = std::from_chars(start, end, value);
        if (result.ec == std::errc::result_out_of_range) {
            message = "The value '" + std::string(text) + "' exceeded the minimum value that could be represented: "
                + std::to_string(std::numeric_limits<int64_t>::min()) + ".";
            return false;
        }
        number = { JSONNumber::Type::SignedInteger, bitsOf(value) };
    } else {
        uint64_t value = 0;
        result = std::from_chars(start, end, value);
        if (result.ec == std::errc::result_out_of_range) {
            message = "The value '" + std::string(text) + "' exceeded the maximum value that could be represented: "
                + std::to_string(std::numeric_limits<uint64_t>::max()) + ".";
            return false;
        }
        number = { JSONNumber::Type::UnsignedInteger, value };
    }
    if (result.ec != std::errc()) {
        message.clear();
        return false;
    }
    if (result.ptr != end) {
        message = IncompleteConversion;
        return false;
    }
    return true;
}

} // namespace json
