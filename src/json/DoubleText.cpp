#include "json/DoubleText.h"

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace json {

namespace {

    constexpr int SignificantDigits = 17;
    constexpr uint64_t TooManyDigits = 100'000'000'000'000'000; // 10^17

    // The largest decimal scale computed exactly: its power of five fits in 64 bits, so its product with a
    // 53-bit mantissa fits in 128. Scales 0 to 27 cover the values from 1e-11 up to 1e17.
    constexpr int MaximumScale = 27;
    constexpr auto PowersOfFive = [] {
        std::array<uint64_t, MaximumScale + 1> powers {};
        uint64_t power = 1;
        for (uint64_t& entry : powers) {
            entry = power;
            power *= 5;
        }
        return powers;
    }();

    // mantissa × 2^exponent × 10^scale rounded to the nearest integer, ties to even, as printf rounds. The caller
    // keeps the result below 10^18 and the exponent at -89 or above (see seventeenDigits), so the shift below
    // stays under 128 bits.
    uint64_t scaled(uint64_t mantissa, int exponent, int scale)
    {
        // 10^scale = 5^scale × 2^scale.
        unsigned __int128 product = static_cast<unsigned __int128>(mantissa) * PowersOfFive[scale];
        int shift = -(exponent + scale);
        if (shift <= 0)
            return static_cast<uint64_t>(product << -shift);
        unsigned __int128 quotient = product >> shift;
        unsigned __int128 remainder = product - (quotient << shift);
        unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
        if (remainder > half || (remainder == half && (quotient & 1)))
            ++quotient;
        return static_cast<uint64_t>(quotient);
    }

    // The 17 significant digits of |value| (a normal double) as an integer of 10^16 up to below 10^17, and the
    // decimal exponent of the first, as printf rounds them; false outside the range computed exactly.
    bool seventeenDigits(uint64_t bits, uint64_t& digits, int& decimalExponent)
    {
        int exponent = static_cast<int>((bits >> 52) & 0x7FF) - 1075;
        uint64_t mantissa = (bits & ((uint64_t(1) << 52) - 1)) | (uint64_t(1) << 52);
        // floor(log10(2^(exponent + 52))), at most one below the value's own decimal exponent.
        int estimate = ((exponent + 52) * 78913) >> 18;
        int scale = SignificantDigits - 1 - estimate;
        if (scale < 0 || scale > MaximumScale)
            return false;
        digits = scaled(mantissa, exponent, scale);
        // A low estimate, or rounding up to the next power of ten, gives an 18th digit: one scale less.
        while (digits >= TooManyDigits) {
            if (--scale < 0)
                return false;
            digits = scaled(mantissa, exponent, scale);
        }
        decimalExponent = SignificantDigits - 1 - scale;
        return true;
    }

    constexpr char DigitPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                                  "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                                  "8081828384858687888990919293949596979899";

    void writeEightDigits(uint32_t value, char* out)
    {
        uint32_t high = value / 10000;
        uint32_t low = value % 10000;
        std::memcpy(out, DigitPairs + 2 * (high / 100), 2);
        std::memcpy(out + 2, DigitPairs + 2 * (high % 100), 2);
        std::memcpy(out + 4, DigitPairs + 2 * (low / 100), 2);
        std::memcpy(out + 6, DigitPairs + 2 * (low % 100), 2);
    }

    // Writes the 17 digits as %g does: without trailing zeros, in fixed notation from 1e-4 up, else with an
    // exponent (which then lies between -11 and -5). Digits are copied in blocks of sixteen past those used.
    char* writeDigits(uint64_t digits, int decimalExponent, char* out)
    {
        // The digits, then zeros for the blocks to read.
        char text[32] = {};
        text[0] = static_cast<char>('0' + digits / 10'000'000'000'000'000);
        writeEightDigits(static_cast<uint32_t>(digits / 100'000'000 % 100'000'000), text + 1);
        writeEightDigits(static_cast<uint32_t>(digits % 100'000'000), text + 9);
        int length = SignificantDigits;
        while (text[length - 1] == '0')
            --length;
        if (decimalExponent >= 0) {
            std::memcpy(out, text, SignificantDigits);
            int whole = decimalExponent + 1;
            if (length <= whole)
                return out + whole;
            out[whole] = '.';
            std::memcpy(out + whole + 1, text + whole, 16);
            return out + length + 1;
        }
        if (decimalExponent >= -4) {
            // "0.", the zeros after the point, then the digits over the rest of the zeros written.
            std::memcpy(out, "0.0000", 6);
            std::memcpy(out + 1 - decimalExponent, text, SignificantDigits);
            return out + 1 - decimalExponent + length;
        }
        out[0] = text[0];
        if (length > 1) {
            out[1] = '.';
            std::memcpy(out + 2, text + 1, 16);
            out += length + 1;
        } else
            ++out;
        int magnitude = -decimalExponent;
        out[0] = 'e';
        out[1] = '-';
        std::memcpy(out + 2, DigitPairs + 2 * magnitude, 2);
        return out + 4;
    }

} // namespace

char* writeDoubleText(double value, char* out)
{
    auto bits = std::bit_cast<uint64_t>(value);
    uint64_t digits;
    int decimalExponent;
    // Zero and the subnormals have a biased exponent of 0 and go the general way.
    if ((bits >> 52 & 0x7FF) != 0 && seventeenDigits(bits, digits, decimalExponent)) {
        if (bits >> 63)
            *out++ = '-';
        return writeDigits(digits, decimalExponent, out);
    }
    return std::to_chars(out, out + DoubleTextCapacity, value, std::chars_format::general, SignificantDigits).ptr;
}

} // namespace json
