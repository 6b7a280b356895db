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

    const char* const IncompleteConversion
        = "The conversion function did not consume all of the number tokens characters.";

} // namespace

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
        number = { TokenValueType::Double, bitsOf(value) };
    } else if (*start == '-') {
        int64_t value = 0;
        result = std::from_chars(start, end, value);
        if (result.ec == std::errc::result_out_of_range) {
            message = "The value '" + std::string(text) + "' exceeded the minimum value that could be represented: "
                + std::to_string(std::numeric_limits<int64_t>::min()) + ".";
            return false;
        }
        number = { TokenValueType::SignedInteger, bitsOf(value) };
    } else {
        uint64_t value = 0;
        result = std::from_chars(start, end, value);
        if (result.ec == std::errc::result_out_of_range) {
            message = "The value '" + std::string(text) + "' exceeded the maximum value that could be represented: "
                + std::to_string(std::numeric_limits<uint64_t>::max()) + ".";
            return false;
        }
        number = { TokenValueType::UnsignedInteger, value };
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
