#include "base/values/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace base {

namespace {

    bool isWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

    bool isDigit(char c) { return c >= '0' && c <= '9'; }

    // Position after leading white space and an optional sign; `negative` tells which sign was read.
    size_t skipSpaceAndSign(std::string_view text, bool& negative)
    {
        size_t i = 0;
        while (i < text.size() && isWhiteSpace(text[i]))
            ++i;
        negative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            negative = text[i] == '-';
            ++i;
        }
        return i;
    }

    size_t skipDigits(std::string_view text, size_t i)
    {
        while (i < text.size() && isDigit(text[i]))
            ++i;
        return i;
    }

    // Where the decimal number at `start` (mantissa, optional exponent) ends; `start` when there is none.
    size_t endOfDecimal(std::string_view text, size_t start)
    {
        size_t i = skipDigits(text, start);
        size_t mantissaDigits = i - start;
        if (i < text.size() && text[i] == '.') {
            size_t fractionEnd = skipDigits(text, i + 1);
            mantissaDigits += fractionEnd - (i + 1);
            i = fractionEnd;
        }
        if (!mantissaDigits)
            return start;
        if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
            size_t e = i + 1;
            if (e < text.size() && (text[e] == '+' || text[e] == '-'))
                ++e;
            if (e < text.size() && isDigit(text[e]))
                i = skipDigits(text, e);
        }
        return i;
    }

    // For a number out of the double's range: whether it is too large (rather than too small). Compares the
    // position of the first significant digit, shifted by the exponent, with the decimal point.
    bool decimalOverflows(std::string_view number)
    {
        long long position = 0;
        bool seenPoint = false;
        bool seenSignificant = false;
        size_t i = 0;
        for (; i < number.size() && number[i] != 'e' && number[i] != 'E'; ++i) {
            char c = number[i];
            if (c == '.') {
                seenPoint = true;
                continue;
            }
            if (!seenSignificant && c == '0') {
                if (seenPoint)
                    --position;
                continue;
            }
            if (!seenSignificant)
                seenSignificant = true;
            if (!seenPoint)
                ++position;
        }
        if (i < number.size()) {
            bool negative = false;
            size_t digits = i + 1 + skipSpaceAndSign(number.substr(i + 1), negative);
            long long exponent = 0;
            for (; digits < number.size() && exponent < 1'000'000'000; ++digits)
                exponent = exponent * 10 + (number[digits] - '0');
            position += negative ? -exponent : exponent;
        }
        return position > 0;
    }

} // namespace

LeadingInteger readLeadingInteger(std::string_view text)
{
    LeadingInteger result;
    size_t i = skipSpaceAndSign(text, result.negative);
    for (; i < text.size() && isDigit(text[i]); ++i) {
        uint64_t digit = static_cast<uint64_t>(text[i] - '0');
        if (result.magnitude > (std::numeric_limits<uint64_t>::max() - digit) / 10)
            result.overflow = true;
        else
            result.magnitude = result.magnitude * 10 + digit;
    }
    return result;
}

double readLeadingDouble(std::string_view text)
{
    bool negative = false;
    size_t start = skipSpaceAndSign(text, negative);
    size_t end = endOfDecimal(text, start);
    if (end == start)
        return 0;
    double value = 0;
    auto [ptr, error] = std::from_chars(text.data() + start, text.data() + end, value);
    if (error == std::errc::result_out_of_range)
        value = decimalOverflows(text.substr(start, end - start)) ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
}

bool readLeadingBool(std::string_view text)
{
    bool negative = false;
    size_t i = skipSpaceAndSign(text, negative);
    while (i < text.size() && text[i] == '0')
        ++i;
    if (i == text.size())
        return false;
    char c = text[i];
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

std::string formatDouble(double value)
{
    char buffer[64];
    for (int precision = 15; precision <= 17; ++precision) {
        auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
        double back = 0;
        std::from_chars(buffer, end, back);
        if (back == value || precision == 17 || std::isnan(value))
            return std::string(buffer, end);
    }
    return {};
}

} // namespace base
